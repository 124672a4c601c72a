# The layer check on small made-up graphs: run with cmake -P.
cmake_minimum_required(VERSION 3.20)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/DwLayers.cmake)

function(expect_problem what expected)
  dw_check_layer_graph(problems NODES ${ARGN})
  if(expected STREQUAL "")
    if(NOT problems STREQUAL "")
      message(FATAL_ERROR "${what}: expected no problem, got: ${problems}")
    endif()
  elseif(NOT problems MATCHES "${expected}")
    message(FATAL_ERROR "${what}: expected '${expected}', got: '${problems}'")
  endif()
endfunction()

# The intended shape: app above the subsystems, which stand on shell and data.
set(DW_LINKS_dw_game_app dw_game_field dw_game_actor dw_game_shell dw_game_data)
set(DW_LINKS_dw_game_actor dw_game_field dw_game_shell dw_game_data)
set(DW_LINKS_dw_game_field dw_game_shell dw_game_data)
set(DW_LINKS_dw_game_shell "")
set(DW_LINKS_dw_game_data "")
set(layered dw_game_app dw_game_actor dw_game_field dw_game_shell dw_game_data)
expect_problem("layered graph" "" ${layered})

# A cycle added on purpose: field calls back up into actor.
set(DW_LINKS_dw_game_field dw_game_actor dw_game_shell)
expect_problem("cycle" "cycle: dw_game_actor, dw_game_field" ${layered})
set(DW_LINKS_dw_game_field dw_game_shell dw_game_data)

# A library below the cycle is not blamed for it; one that leads into it is.
set(DW_LINKS_dw_game_x dw_game_y)
set(DW_LINKS_dw_game_y dw_game_x dw_game_data)
expect_problem("cycle beside" "cycle: dw_game_x, dw_game_y\\. $" ${layered} dw_game_x dw_game_y)

# The floors link no game library; nothing links the program.
set(DW_LINKS_dw_game_shell dw_game_data)
expect_problem("shell on data" "dw_game_shell links dw_game_data, but it must link no game library" ${layered})
set(DW_LINKS_dw_game_shell "")
set(DW_LINKS_dw_game_field dw_game_app)
expect_problem("field on app" "dw_game_field links dw_game_app, which nothing may link" ${layered})

# Only the program links the fighting styles, which stand on the actors.
set(DW_LINKS_dw_game_field dw_game_shell dw_game_data)
set(DW_LINKS_dw_game_moveset dw_game_actor dw_game_field dw_game_data)
set(DW_LINKS_dw_game_app dw_game_moveset dw_game_actor dw_game_field dw_game_shell dw_game_data)
set(styled ${layered} dw_game_moveset)
expect_problem("styles under the program" "" ${styled})
set(DW_LINKS_dw_game_enemy dw_game_moveset dw_game_actor)
expect_problem("enemy on the styles" "^dw_game_enemy links dw_game_moveset, which only dw_game_app may link\\. $"
               ${styled} dw_game_enemy)
