// The registry's rows against the rows of the effect list as written: every table row, the element
// bursts and shots by their rules, the jitter sparks, the star shots and the single kinds. Each
// written row is read cell by cell (its class, its quoted asset, its numbers in order) and compared
// with the arguments the table gives the kind's constructor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/effect/EffectRegistry.h"

namespace effectregistryrowstest {
namespace {

// Kind | class | asset | numbers..., or kind | asset | numbers... for pieces and relay shots.
const char* const kWrittenRows[] = {
    R"(| 30 | `TParticleEffect` | "effect.ptx/smoke" | 1 × 1 | 5 | (0.1, 0.1, 0.1) to (0.2, 0.2, 0.2) | (-1.0, 0.1, -1.0) to (1.0, 0.4, 1.0) | 0.03 | (0.7, 0.7, 0.7) |)",
    R"(| 31 | `TParticleEffect` | "effect.ptx/smoke" | 1 × 1 | 5 | (0.1, 0.1, 0.1) to (0.12, 0.12, 0.12) | (-0.8, 0.05, -0.8) to (0.8, 0.1, 0.8) | 0.02 | (0.5, 0.5, 0.5) |)",
    R"(| 32 | `TAlphaParticleEffect` | "effect.ptx/darksmoke" | 1 × 1 | 5 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.2, -0.3, -1.2) to (1.2, 0.4, 1.2) | 0.04 | (0.5, 0.5, 0.5) |)",
    R"(| 33 | `TAlphaParticleEffect` | "effect.ptx/darksmoke" | 1 × 1 | 5 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.0, -1.0, -1.0) to (1.0, 1.0, 1.0) | 0.02 | (0.5, 0.5, 0.5) |)",
    R"(| 34 | `TParticleEffect` | "effect.ptx/smoke" | 1 × 1 | 5 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.0, -1.0, -1.0) to (1.0, 1.0, 1.0) | 0.02 | (1.0, 1.0, 1.0) |)",
    R"(| 35 | `TParticleEffect` | "effect.ptx/smoke" | 1 × 1 | 4 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-0.5, -0.3, -0.5) to (0.5, 0.3, 0.5) | 0.03 | (0.4, 0.4, 0.4) |)",
    R"(| 50 | `TParticleEffect` | "effect.ptx/ice" | 2 × 2 | 10 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-2.5, -0.8, -2.5) to (2.5, 0.1, 2.5) | 0.015 | (0.8, 0.8, 0.8) |)",
    R"(| 51 | `TAlphaParticleEffect` | "effect.ptx/darksmoke" | 1 × 1 | 10 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-2.5, -0.8, -2.5) to (2.5, 0.1, 2.5) | 0.015 | (0.8, 0.8, 0.8) |)",
    R"(| 53 | `TParticleEffect` | "effect.ptx/smoke" | 2 × 2 | 10 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.5, -0.1, -1.5) to (1.5, 2.5, 1.5) | 0.015 | (0.8, 0.8, 0.8) |)",
    R"(| 54 | `TAlphaParticleEffect` | "effect.ptx/smoke2" | 2 × 2 | 5 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.8, -0.3, -1.8) to (1.8, -0.2, 1.8) | 0.015 | (1.5, 1.5, 1.5) |)",
    R"(| 55 | `TParticleEffect` | "effect.ptx/ice" | 2 × 2 | 3 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.5, -0.8, -1.5) to (1.5, 0.1, 1.5) | 0.01 | (0.8, 0.8, 0.8) |)",
    R"(| 900 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 10 | (-0.6, 0.0, -0.6) to (0.6, 1.0, 0.6) | (-0.8, 1.0, -0.8) to (0.8, 3.0, 0.8) | 0.01 | (1.0, 1.0, 1.0) |)",
    R"(| 901 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 15 | (-0.6, 0.0, -0.6) to (0.6, 1.0, 0.6) | (-0.8, 1.0, -0.8) to (0.8, 3.0, 0.8) | 0.01 | (1.0, 1.0, 1.0) |)",
    R"(| 902 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 20 | (-0.6, 0.0, -0.6) to (0.6, 0.5, 0.6) | (-0.8, 1.0, -0.8) to (0.8, 3.0, 0.8) | 0.01 | (0.3, 0.3, 0.3) |)",
    R"(| 903 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 20 | (-0.6, 0.0, -0.6) to (0.6, 0.5, 0.6) | (-0.8, 1.0, -0.8) to (0.8, 3.0, 0.8) | 0.01 | (0.5, 0.5, 0.5) |)",
    R"(| 904 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 20 | (-0.3, 0.0, -0.3) to (0.3, 0.5, 0.3) | (-0.5, 1.0, -0.5) to (0.5, 3.0, 0.5) | 0.05 | (0.3, 0.3, 0.3) |)",
    R"(| 905 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 15 | (-0.6, 0.0, -0.6) to (0.6, 0.5, 0.6) | (-0.8, 1.0, -0.8) to (0.8, 3.0, 0.8) | 0.01 | (0.3, 0.3, 0.3) |)",
    R"(| 906 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 25 | (-0.6, 0.0, -0.6) to (0.6, 0.5, 0.6) | (-0.8, 1.0, -0.8) to (0.8, 3.0, 0.8) | 0.01 | (0.3, 0.3, 0.3) |)",
    R"(| 907 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 20 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.0, -1.0, -1.0) to (1.0, 1.0, 1.0) | 0.015 | (0.3, 0.3, 0.3) |)",
    R"(| 908 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 15 | (-2.0, -2.0, -2.0) to (2.0, 2.0, 2.0) | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | 0.03 | (0.4, 0.4, 0.4) |)",
    R"(| 909 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 15 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-2.0, -2.0, -2.0) to (2.0, 2.0, 2.0) | 0.01 | (0.4, 0.4, 0.4) |)",
    R"(| 910 | `TParticleEffect` | "effect.ptx/ain" | 2 × 2 | 15 | (-1.6, 0.0, -1.6) to (1.6, 0.5, 1.6) | (-1.8, 1.5, -1.8) to (1.8, 1.8, 1.8) | 0.006 | (0.4, 0.4, 0.4) |)",
    R"(| 911 | `TAlphaParticleEffect` | "effect.ptx/star" | 2 × 2 | 20 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.0, -1.0, -1.0) to (1.0, 1.0, 1.0) | 0.05 | (0.4, 0.4, 0.4) |)",
    R"(| 912 | `TAlphaParticleEffect` | "effect.ptx/star" | 2 × 2 | 15 | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | (-1.5, -1.5, -1.5) to (1.5, 1.5, 1.5) | 0.05 | (0.8, 0.8, 0.8) |)",
    R"(| 913 | `TAlphaParticleEffect` | "effect.ptx/star" | 2 × 2 | 15 | (-1.5, -1.5, -1.5) to (1.5, 1.5, 1.5) | (-0.1, -0.1, -0.1) to (0.1, 0.1, 0.1) | 0.05 | (0.8, 0.8, 0.8) |)",
    R"(| 914 | `TAlphaParticleEffect` | "effect.ptx/star" | 2 × 2 | 20 | (-0.3, 0.0, -0.3) to (0.3, 0.5, 0.3) | (-1.0, 1.0, -1.1) to (1.0, 4.0, 1.0) | 0.03 | (0.6, 0.6, 0.6) |)",
    R"(| 915 | `TAlphaParticleEffect` | "effect.ptx/star" | 2 × 2 | 10 | (-0.3, 0.0, -0.3) to (0.3, 0.5, 0.3) | (-0.5, 1.0, -0.5) to (0.5, 4.0, 0.5) | 0.04 | (0.3, 0.3, 0.3) |)",
    R"(| 100 | `TAddModelEffect` B | "attack01_anim.frm" | 5.0, 2.0; 10.0, 1.0; 20.0, 1.0 |)",
    R"(| 101 | `TAddModelEffect` B | "impact01_anim.frm" | 5.0, 1.0; 10.0, 1.0; 20.0, 1.0 |)",
    R"(| 102 | `TAddModelEffect` B | "impact02_anim.frm" | 5.0, 0.5; 10.0, 0.7; 20.0, 0.5 |)",
    R"(| 103 | `TAddModelEffect` B | "ring01_anim.frm" | 5.0, 0.5; 10.0, 0.5; 20.0, 0.5 |)",
    R"(| 104 | `TAddModelEffect` B | "flash01.frm" | 5.0, 1.0; 10.0, 1.0; 20.0, 1.0 |)",
    R"(| 105 | `TAddModelEffect` B | "flash01_2.frm" | 5.0, 1.0; 10.0, 1.0; 20.0, 1.0 |)",
    R"(| 106 | `TAddModelEffect` B | "flash00.frm" | 2.0, 0.3; 6.0, 0.3; 8.0, 0.3 |)",
    R"(| 107 | `TAddModelEffect` B | "impact02_anim.frm" | 5.0, 0.4; 10.0, 0.4; 20.0, 0.4 |)",
    R"(| 108 | `TAddModelEffect` B | "bomb00.frm" | 4.0, 0.06; 8.0, 0.06; 12.0, 0.06 |)",
    R"(| 109 | `TAddModelEffect` A | "bomb01.frm" | end 5.0, step 0.2, fade-in false |)",
    R"(| 110 | `TAddModelEffect` B | "bomb00.frm" | 4.0, 0.12; 8.0, 0.12; 12.0, 0.12 |)",
    R"(| 111 | `TAddModelEffect` B | "bomb00.frm" | 4.0, 0.6; 8.0, 0.6; 12.0, 0.6 |)",
    R"(| 112 | `TAddModelEffect` B | "impact01_anim.frm" | 5.0, 0.5; 10.0, 0.5; 20.0, 0.5 |)",
    R"(| 113 | `TAddModelEffect` B | "bomb00.frm" | 4.0, 0.2; 8.0, 0.2; 12.0, 0.3 |)",
    R"(| 114 | `TAddModelEffect` A | "bomb01.frm" | end 5.0, step 0.1, fade-in false |)",
    R"(| 115 | `TAddModelEffect` B | "bomb00.frm" | 4.0, 0.3; 8.0, 0.3; 12.0, 0.1 |)",
    R"(| 116 | `TAddModelEffect` C | "shiningring.frm" | 0.0, 0.1; 4.0, 0.1; loops 2; 4.0, 0.1 |)",
    R"(| 117 | `TAddModelEffect` C | "shiningring.frm" | 0.0, 0.1; 4.0, 0.1; loops 8; 4.0, 0.1 |)",
    R"(| 118 | `TAddModelEffect` C | "shiningring.frm" | 0.0, 0.1; 4.0, 0.1; loops 12; 4.0, 0.1 |)",
    R"(| 119 | `TAddModelEffect` B | "shiningring.frm" | 0.0, 0.1; 2.0, 0.1; 4.0, 0.1 |)",
    R"(| 120 | `TAlphaModelEffect` B | "tornado00.frm" | 0.0, 0.1; 2.0, 0.1; 4.0, 0.1 |)",
    R"(| 123 | `TAlphaModelEffect` C | "tornado00.frm" | 0.0, 0.1; 4.0, 0.1; loops 4; 4.0, 0.1 |)",
    R"(| 600 | `TAddModelEffect` B | "impact03_anim.frm" | 10.0, 1.0; 20.0, 1.0; 30.0, 1.0 |)",
    R"(| 601 | `TAddModelEffect` B | "impact04_anim.frm" | 10.0, 1.0; 15.0, 1.0; 30.0, 1.0 |)",
    R"(| 602 | `TAddModelEffect` B | "edge01_anim.frm" | 5.0, 1.0; 15.0, 1.0; 20.0, 1.0 |)",
    R"(| 603 | `TAddModelEffect` B | "impact03_anim.frm" | 10.0, 2.0; 20.0, 1.0; 30.0, 0.7 |)",
    R"(| 200 | `TIceChainEffect` (ice) | "ice01_anim.frm" | 201 |)",
    R"(| 202 | `TIceChainEffect` (ice) | "ice01_anim.frm" | 203 |)",
    R"(| 204 | `TEdgeChainEffect` | "edge01_anim.frm" | 205 |)",
    R"(| 206 | `TIceChainEffect` (ice) | "ice01_anim.frm" | 207 |)",
    R"(| 208 | `TIceChainEffect` (ice) | "ice01_anim.frm" | 209 |)",
    R"(| 210 | `TFangChainEffect` | "earthfang.frm" | 211 |)",
    R"(| 212 | `TEdgeChainEffect` | "edge02_anim.frm" | 213 |)",
    R"(| 214 | `TFangChainEffect` | "earthfang.frm" | 215 |)",
    R"(| 216 | `TIceChainEffect` (ice field) | "icefield00_f.frm" | 217, then 0 |)",
    R"(| 218 | `TIceChainEffect` (ice field) | "icefield00_f.frm" | 219, then 0 |)",
    R"(| 220 | `TIceChainEffect` (ice field) | "icefield01_f.frm" | 221, then 0 |)",
    R"(| 222 | `TIceChainEffect` (ice field) | "icefield01_f.frm" | 223, then 0 |)",
    R"(| 224 | `TEdgeChainEffect` | "edge01_anim.frm" | 225 |)",
    R"(| 201 | "ice01_mesh.msh" | 505 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 0 | 2101 | (0.0, 0.5, 0.0) | (0.7, 0.7, 0.7) |)",
    R"(| 203 | "ice01_mesh.msh" | 505 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 0 | 3101 | (0.0, 0.5, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 205 | "edge01_mesh.msh" | 505 | 1 | 1 | 0.05 | 0.005 | 0.02 | 0 | 1 | 0 | (0.0, 0.5, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 207 | "ice01_mesh.msh" | 505 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 0 | 2103 | (0.0, 0.5, 0.0) | (0.5, 0.5, 0.5) |)",
    R"(| 209 | "ice01_mesh.msh" | 505 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 0 | 3103 | (0.0, 0.5, 0.0) | (0.8, 0.8, 0.8) |)",
    R"(| 211 | "earthfang.msh" | 506 | 40 | 1 | 0.02 | 0.001 | 0.01 | 2 | 1 | 2305 | (0.0, 0.5, 0.0) | (2.0, 2.0, 2.0) |)",
    R"(| 213 | "edge02_mesh.msh" | 505 | 1 | 1 | 0.05 | 0.005 | 0.02 | 0 | 1 | 0 | (0.0, 0.5, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 215 | "earthfang.msh" | 506 | 40 | 1 | 0.02 | 0.001 | 0.01 | 2 | 1 | 3305 | (0.0, 0.5, 0.0) | (2.0, 2.0, 2.0) |)",
    R"(| 217 | "icefield00_m.msh" | 505 | 80 | 1 | 0.05 | -0.002 | 0.04 | 2 | 0 | 2109 | (0.0, 0.5, 0.0) | (0.7, 0.7, 0.7) |)",
    R"(| 219 | "icefield00_m.msh" | 505 | 80 | 1 | 0.05 | -0.002 | 0.04 | 2 | 0 | 3109 | (0.0, 0.5, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 221 | "icefield01_m.msh" | 505 | 50 | 1 | 0.05 | -0.005 | 0.04 | 2 | 0 | 2111 | (0.0, 0.5, 0.0) | (0.7, 0.7, 0.7) |)",
    R"(| 223 | "icefield01_m.msh" | 505 | 50 | 1 | 0.05 | -0.005 | 0.04 | 2 | 0 | 3111 | (0.0, 0.5, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 225 | "edge01_mesh.msh" | 505 | 1 | 1 | 0.05 | 0.005 | 0.02 | 0 | 1 | 0 | (0.0, 0.5, 0.0) | (1.5, 1.5, 1.5) |)",
    R"(| 501 | "rock01_mesh.msh" | 506 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 1 | 2301 | (0.0, 0.5, 0.0) | (0.3, 0.3, 0.3) |)",
    R"(| 503 | "rock01_mesh.msh" | 506 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 1 | 3301 | (0.0, 0.5, 0.0) | (0.5, 0.5, 0.5) |)",
    R"(| 505 | "gareki00.msh" | 506 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 1 | 50002 | (0.0, 0.5, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 507 | "rock01_mesh.msh" | 506 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 1 | 2303 | (0.0, 0.5, 0.0) | (0.3, 0.3, 0.3) |)",
    R"(| 509 | "rock01_mesh.msh" | 506 | 1 | 1 | 0.05 | 0.005 | 0.02 | 1 | 1 | 3303 | (0.0, 0.5, 0.0) | (0.5, 0.5, 0.5) |)",
    R"(| 511 | "rock01_mesh.msh" | 506 | 1 | 1 | 0.05 | 0.005 | 0.01 | 1 | 1 | 5003 | (0.0, 0.0, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 513 | "rock01_mesh.msh" | 506 | 1 | 1 | 0.05 | 0.005 | 0.01 | 1 | 1 | 5006 | (0.0, 0.0, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 700 | "ring02_mesh.msh" | 504 | 200 | 1 | 0.01 | 0.001 | 0.02 | 0 | 0 | 0 | (0.0, 0.5, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 701 | "ring02_mesh.msh" | 504 | 300 | 1 | 0.05 | 0.005 | 0.02 | 0 | 0 | 0 | (0.0, 0.5, 0.0) | (2.0, 2.0, 2.0) |)",
    R"(| 702 | "ice01_mesh.msh" | 505 | 200 | 1 | 0.04 | 0.002 | 0.02 | 2 | 0 | 2103 | (0.0, 0.5, 0.0) | (0.5, 0.5, 0.5) |)",
    R"(| 703 | "ice01_mesh.msh" | 505 | 300 | 1 | 0.04 | 0.002 | 0.02 | 2 | 0 | 3103 | (0.0, 0.5, 0.0) | (0.7, 0.7, 0.7) |)",
    R"(| 704 | "ice01_mesh.msh" | 505 | 200 | 1 | 0.04 | 0.002 | 0.02 | 2 | 0 | 2106 | (0.0, 0.5, 0.0) | (0.5, 0.5, 0.5) |)",
    R"(| 705 | "ice01_mesh.msh" | 505 | 300 | 1 | 0.04 | 0.002 | 0.02 | 2 | 0 | 3106 | (0.0, 0.5, 0.0) | (0.7, 0.7, 0.7) |)",
    R"(| 706 | "icefield02_m.msh" | 505 | 500 | 1 | 0.04 | 0.002 | 0.02 | 2 | 0 | 2107 | (0.0, 0.5, 0.0) | (0.5, 0.5, 0.5) |)",
    R"(| 707 | "icefield02_m.msh" | 505 | 700 | 1 | 0.04 | 0.002 | 0.02 | 2 | 0 | 3107 | (0.0, 0.5, 0.0) | (0.7, 0.7, 0.7) |)",
    R"(| 708 | "icefield02_m.msh" | 505 | 700 | 1 | 0.04 | 0.002 | 0.02 | 2 | 0 | 50007 | (0.0, 0.5, 0.0) | (0.0, 0.0, 0.0) |)",
    R"(| 2001 | "board01.msh" | 505 | -1 | 1 | 0.1 | 0.0 | 0.005 | 2 | 0 | 0 | (0.0, 0.0, 0.0) | (1.6, 1.6, 1.6) |)",
    R"(| 52 | `TShot<TAddBullet>` | "effect.ptx/smoke" | 60 | 15 | 1 | (0.5, 0.5, 1.0) |)",
    R"(| 56 | `TShot<TAlphaCellBullet>` | "effect.ptx/star" | 60 | 20 | 1 | (0.4, 0.4, 0.4) |)",
    R"(| 400 | `THitShot<TAddCellBullet>` | "effect.ptx/fire" | 40 | 10 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 401 | `THitShot<TAddCellBullet>` | "effect.ptx/fire" | 40 | 15 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 402 | `THitShot<TAddMeshBullet>` | "wind01.msh" | 40 | 5 | 1 | (0.8, 0.8, 0.8) |)",
    R"(| 403 | `THitShot<TAddMeshBullet>` | "wind01.msh" | 40 | 10 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 404 | `THitShot<TAddCellBullet>` | "effect.ptx/fire" | 40 | 30 | 1 | (2.0, 2.0, 2.0) |)",
    R"(| 405 | `THitShot<TAddMeshBullet>` | "wind01.msh" | 20 | 1 | 1 | (1.5, 1.0, 1.2) |)",
    R"(| 406 | `THitShot<TAddMeshBullet>` | "wind01.msh" | 20 | 1 | 1 | (2.0, 1.0, 1.4) |)",
    R"(| 407 | `THitShot<TAddCellBullet>` | "effect.ptx/fire" | 20 | 5 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 408 | `THitShot<TAddCellBullet>` | "effect.ptx/fire" | 20 | 10 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 409 | `THitShot<TAlphaCellBullet>` | "effect.ptx/dark" | 30 | 5 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 410 | `THitShot<TAlphaCellBullet>` | "effect.ptx/dark" | 40 | 10 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 411 | `THitShot<TAlphaCellBullet>` | "effect.ptx/dark" | 10 | 4 | 1 | (0.4, 0.4, 0.4) |)",
    R"(| 412 | `THitShot<TAlphaCellBullet>` | "effect.ptx/dark" | 10 | 6 | 1 | (0.5, 0.5, 0.5) |)",
    R"(| 413 | `THitShot<TAlphaBullet>` | "effect.ptx/darksmoke" | 10 | 4 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 414 | `THitShot<TAlphaBullet>` | "effect.ptx/darksmoke" | 10 | 6 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 450 | `THitShot<TAddBullet>` | "effect.ptx/impact03" | 60 | 20 | 1 | (0.5, 6.0, 1.0) |)",
    R"(| 451 | `THitShot<TAddBullet>` | "effect.ptx/impact03" | 60 | 4 | 1 | (1.0, 3.0, 1.0) |)",
    R"(| 452 | `THitShot<TAddBullet>` | "effect.ptx/impact03" | 60 | 6 | 1 | (1.2, 4.0, 1.0) |)",
    R"(| 453 | `THitShot<TAddCellBullet>` | "effect.ptx/wind" | 60 | 4 | 1 | (0.4, 0.4, 0.4) |)",
    R"(| 454 | `THitShot<TAddCellBullet>` | "effect.ptx/wind" | 60 | 6 | 1 | (0.6, 0.6, 0.6) |)",
    R"(| 455 | `THitShot<TAddBullet>` | "effect.ptx/impact03" | 60 | 20 | 1 | (0.8, 6.0, 1.0) |)",
    R"(| 456 | `THitShot<TAddBullet>` | "effect.ptx/impact03" | 120 | 30 | 1 | (0.8, 6.0, 1.0) |)",
    R"(| 800 | `TShot<TAddCellBullet>` | "effect.ptx/fire" | 60 | 5 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 801 | `TShot<TAddCellBullet>` | "effect.ptx/fire" | 60 | 8 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 802 | `TShot<TAddCellBullet>` | "effect.ptx/ice" | 60 | 10 | 1 | (0.5, 0.5, 0.5) |)",
    R"(| 803 | `TShot<TAddCellBullet>` | "effect.ptx/wind" | 60 | 10 | 1 | (0.5, 0.5, 0.5) |)",
    R"(| 804 | `TShot<TAlphaBullet>` | "effect.ptx/darksmoke" | 60 | 15 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 805 | `TShot<TAlphaCellBullet>` | "effect.ptx/dark" | 60 | 5 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 806 | `TShot<TAlphaCellBullet>` | "effect.ptx/dark" | 60 | 8 | 1 | (0.7, 0.7, 0.7) |)",
    R"(| 807 | `TShot<TAlphaCellBullet>` | "effect.ptx/soil" | 60 | 5 | 1 | (0.5, 0.5, 0.5) |)",
    R"(| 808 | `TShot<TAddCellBullet>` | "effect.ptx/shine" | 60 | 5 | 1 | (0.5, 0.5, 0.5) |)",
    R"(| 809 | `TShot<TAlphaCellBullet>` | "effect.ptx/star2" | 60 | 5 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 1100 | `THitShot<TAddBullet>` | "effect.ptx/smoke" | 60 | 1 | 1 | (0.0, 0.0, 0.0) |)",
    R"(| 500 | "rock01_mesh.msh" | 501 | 60 | 1 | 1 | (0.3, 0.3, 0.3) |)",
    R"(| 502 | "rock01_mesh.msh" | 503 | 60 | 1 | 1 | (0.5, 0.5, 0.5) |)",
    R"(| 504 | "gareki00.msh" | 505 | 60 | 1 | 1 | (1.0, 1.0, 1.0) |)",
    R"(| 506 | "rock01_mesh.msh" | 507 | 60 | 1 | 1 | (0.3, 0.3, 0.3) |)",
    R"(| 508 | "rock01_mesh.msh" | 509 | 60 | 1 | 1 | (0.5, 0.5, 0.5) |)",
    R"(| 510 | "meteo.msh" | 511 | 60 | 1 | 0 | (1.0, 1.0, 1.0) |)",
    R"(| 512 | "meteo.msh" | 513 | 60 | 1 | 0 | (1.0, 1.0, 1.0) |)",
    R"(| 550 | `TBurstShot<TAddBullet>` | "effect.ptx/smoke" | 109 | -1 | 60 | 1 | 1 | -1 | 0 | (0.0, 0.0, 0.0) | (0.0, 0.0, 0.0) |)",
    R"(| 551 | `TBurstShot<TAlphaCellBullet>` | "effect.ptx/dark" | 114 | -1 | 60 | 10 | 1 | 500 | 2504 | (0.0, 0.0, 0.0) | (1.0, 1.0, 1.0) |)",
    R"(| 552 | `TBurstShot<TAlphaCellBullet>` | "effect.ptx/dark" | 114 | -1 | 60 | 10 | 1 | 500 | 3504 | (0.0, 0.0, 0.0) | (1.0, 1.0, 1.0) |)",
};

struct WrittenRow {
  int32_t kind = 0;
  std::string classCell;  // empty where the table has no class column
  std::string asset;
  std::vector<double> numbers;  // every number after the asset, in order
  bool fadeIn = false;
};

std::vector<std::string> Cells(const std::string& line) {
  std::vector<std::string> cells;
  size_t at = line.find('|') + 1;
  for (size_t bar; (bar = line.find('|', at)) != std::string::npos; at = bar + 1) {
    std::string cell = line.substr(at, bar - at);
    cell.erase(0, cell.find_first_not_of(' '));
    cell.erase(cell.find_last_not_of(' ') + 1);
    cells.push_back(cell);
  }
  return cells;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::vector<double> NumbersIn(const std::string& text) {
  std::vector<double> out;
  for (size_t k = 0; k < text.size(); ++k) {
    const bool negative = text[k] == '-' && k + 1 < text.size() && IsDigit(text[k + 1]);
    if (!negative && !IsDigit(text[k])) continue;
    size_t used = 0;
    out.push_back(std::stod(text.substr(k), &used));
    k += used - 1;
  }
  return out;
}

WrittenRow Read(const std::string& line) {
  const std::vector<std::string> cells = Cells(line);
  WrittenRow row;
  row.kind = std::stoi(cells[0]);
  size_t next = 1;
  if (cells[1].front() == '`') row.classCell = cells[next++];
  row.asset = cells[next].substr(1, cells[next].size() - 2);
  for (size_t k = next + 1; k < cells.size(); ++k) {
    const std::vector<double> n = NumbersIn(cells[k]);
    row.numbers.insert(row.numbers.end(), n.begin(), n.end());
    row.fadeIn = row.fadeIn || cells[k].find("fade-in true") != std::string::npos;
  }
  return row;
}

const char* BulletName(TBulletKind bullet) {
  switch (bullet) {
    case TBulletKind::kAdd: return "TAddBullet";
    case TBulletKind::kAlphaCell: return "TAlphaCellBullet";
    case TBulletKind::kAddCell: return "TAddCellBullet";
    case TBulletKind::kAlpha: return "TAlphaBullet";
    case TBulletKind::kAddMesh: return "TAddMeshBullet";
  }
  return "";
}

void AddVector(std::vector<double>& out, const plat::D3DXVECTOR3& v) { out.insert(out.end(), {v.x, v.y, v.z}); }

// The row as the written tables put it: its class cell, its asset and its numbers.
WrittenRow AsWritten(const TEffectRow& row) {
  WrittenRow w;
  w.kind = row.kind;
  const std::string model = row.look == TModelLookKind::kAdd ? "`TAddModelEffect` " : "`TAlphaModelEffect` ";
  if (const auto* p = std::get_if<TParticleArgs>(&row.args)) {
    w.classCell = row.maker == TEffectMaker::kAlphaSheet ? "`TAlphaParticleEffect`" : "`TParticleEffect`";
    w.asset = p->asset;
    w.numbers = {double(p->divisions1), double(p->divisions2), double(p->count)};
    for (const plat::D3DXVECTOR3& v : {p->startBox.minimum, p->startBox.maximum, p->endBox.minimum, p->endBox.maximum})
      AddVector(w.numbers, v);
    w.numbers.push_back(p->rate);
    AddVector(w.numbers, p->meshScale);
  } else if (const auto* m = std::get_if<TModelArgs>(&row.args)) {
    w.asset = m->asset;
    w.fadeIn = m->fadeIn;
    if (row.maker == TEffectMaker::kModelA) {
      w.classCell = model + "A";
      w.numbers = {m->end1, m->step1};
    } else if (row.maker == TEffectMaker::kModelB) {
      w.classCell = model + "B";
      w.numbers = {m->end1, m->step1, m->end2, m->step2, m->end3, m->step3};
    } else {
      w.classCell = model + "C";
      w.numbers = {m->end1, m->step1, m->end2, m->step2, double(m->loops), m->end3, m->step3};
    }
  } else if (const auto* c = std::get_if<TChainArgs>(&row.args)) {
    switch (row.maker) {
      case TEffectMaker::kIce: w.classCell = "`TIceChainEffect` (ice)"; break;
      case TEffectMaker::kIceField: w.classCell = "`TIceChainEffect` (ice field)"; break;
      case TEffectMaker::kEdge: w.classCell = "`TEdgeChainEffect`"; break;
      default: w.classCell = "`TFangChainEffect`"; break;
    }
    w.asset = c->asset;
    w.numbers = {double(c->followUp)};
    if (row.maker == TEffectMaker::kIceField) w.numbers.push_back(c->extra);
  } else if (const auto* d = std::get_if<TDebrisArgs>(&row.args)) {
    w.asset = d->mesh;
    w.numbers = {double(d->soundId), double(d->waitLimit), double(d->timeStep), d->pieceSpeed, d->gravity, d->fade,
                 double(d->pieceMode), double(d->alpha), double(d->attackKind)};
    AddVector(w.numbers, d->attackOffset);
    AddVector(w.numbers, d->scale);
  } else if (const auto* s = std::get_if<TShotArgs>(&row.args)) {
    w.asset = s->asset;
    if (row.maker == TEffectMaker::kRelayShot) {
      w.numbers = {double(s->first)};
    } else if (row.maker == TEffectMaker::kBurstShot) {
      w.classCell = std::string("`TBurstShot<") + BulletName(row.bullet) + ">`";
      w.numbers = {double(s->first), double(s->second)};
    } else {
      w.classCell = std::string(row.maker == TEffectMaker::kHitShot ? "`THitShot<" : "`TShot<") +
                    BulletName(row.bullet) + ">`";
    }
    w.numbers.insert(w.numbers.end(), {double(s->lifetime), double(s->count), double(s->hidden)});
    if (row.maker == TEffectMaker::kBurstShot) {
      w.numbers.insert(w.numbers.end(), {double(s->soundId), double(s->attackId)});
      AddVector(w.numbers, s->hitOffset);
    }
    AddVector(w.numbers, s->scale);
  }
  return w;
}

void ExpectSame(const WrittenRow& want, const TEffectRow* row) {
  ASSERT_NE(row, nullptr) << want.kind;
  const WrittenRow got = AsWritten(*row);
  EXPECT_EQ(got.classCell, want.classCell) << want.kind;
  EXPECT_EQ(got.asset, want.asset) << want.kind;
  EXPECT_EQ(got.fadeIn, want.fadeIn) << want.kind;
  ASSERT_EQ(got.numbers.size(), want.numbers.size()) << want.kind;
  for (size_t k = 0; k < want.numbers.size(); ++k)
    EXPECT_EQ(static_cast<float>(got.numbers[k]), static_cast<float>(want.numbers[k])) << want.kind << " number " << k;
}

TEST(EffectRegistryRows, EveryWrittenTableRowIsTheKindsRow) {
  for (const char* line : kWrittenRows) ExpectSame(Read(line), FindEffectRow(Read(line).kind));
}

// Kinds 10 s + e: 3, 6 and 12 particles; e 0 of the particle mesh, the others of the element's
// texture, 4 and 6 fading alpha.
TEST(EffectRegistryRows, TheElementBurstsFollowTheirRule) {
  const char* const entries[] = {"ain", "fire", "ice", "wind", "soil", "shine", "dark"};
  const uint32_t counts[] = {3, 6, 12};
  for (int s = 0; s < 3; ++s)
    for (int e = 0; e < 7; ++e) {
      const TEffectRow* row = FindEffectRow(10 * s + e);
      ASSERT_NE(row, nullptr);
      const auto& p = std::get<TParticleArgs>(row->args);
      const TEffectMaker maker = e == 0   ? TEffectMaker::kParticleMesh
                                 : e == 4 || e == 6 ? TEffectMaker::kAlphaSheet
                                                    : TEffectMaker::kParticleSheet;
      EXPECT_EQ(row->maker, maker) << row->kind;
      EXPECT_EQ(p.asset, e == 0 ? std::string("particle_mesh.msh") : std::string("effect.ptx/") + entries[e]);
      EXPECT_EQ(p.count, counts[s]) << row->kind;
      if (e != 0) {
        EXPECT_EQ(p.divisions1, 2u) << row->kind;
        EXPECT_EQ(p.divisions2, 2u) << row->kind;
      }
      const float scale = e == 0 ? 0.1f : 1.0f;
      for (float v : {p.meshScale.x, p.meshScale.y, p.meshScale.z}) EXPECT_EQ(v, scale) << row->kind;
      for (float v : {p.startBox.maximum.x, p.startBox.maximum.y, p.startBox.maximum.z}) EXPECT_EQ(v, 0.1f);
      for (float v : {p.startBox.minimum.x, p.startBox.minimum.y, p.startBox.minimum.z}) EXPECT_EQ(v, -0.1f);
      for (float v : {p.endBox.maximum.x, p.endBox.maximum.y, p.endBox.maximum.z}) EXPECT_EQ(v, 1.0f);
      for (float v : {p.endBox.minimum.x, p.endBox.minimum.y, p.endBox.minimum.z}) EXPECT_EQ(v, -1.0f);
      EXPECT_EQ(p.rate, 0.04f) << row->kind;
    }
}

// Kinds 300 + 10 s + e, and the smoke and star shots after them.
TEST(EffectRegistryRows, TheElementAndStarShotsFollowTheirRule) {
  const char* const entries[] = {"ain", "fire", "ice", "wind", "soil", "shine", "dark"};
  struct Shot {
    int32_t kind;
    std::string asset;
    TBulletKind bullet;
    int32_t count;
    float scale;
  };
  std::vector<Shot> shots;
  const int32_t counts[] = {7, 6, 5};
  const float scales[] = {0.9f, 0.8f, 0.7f};
  for (int s = 0; s < 3; ++s)
    for (int e = 0; e < 7; ++e)
      shots.push_back({300 + 10 * s + e, std::string("effect.ptx/") + entries[e],
                       e == 4 || e == 6 ? TBulletKind::kAlphaCell : TBulletKind::kAddCell, counts[s], scales[s]});
  shots.push_back({327, "effect.ptx/smoke", TBulletKind::kAddCell, 10, 1.0f});
  for (int k = 0; k < 3; ++k) shots.push_back({328 + k, "effect.ptx/star2", TBulletKind::kAlphaCell, counts[k], scales[k]});
  for (const Shot& want : shots) {
    const TEffectRow* row = FindEffectRow(want.kind);
    ASSERT_NE(row, nullptr) << want.kind;
    const auto& s = std::get<TShotArgs>(row->args);
    EXPECT_EQ(row->maker, TEffectMaker::kShot) << want.kind;
    EXPECT_EQ(row->bullet, want.bullet) << want.kind;
    EXPECT_EQ(s.asset, want.asset) << want.kind;
    EXPECT_EQ(s.lifetime, 60) << want.kind;
    EXPECT_EQ(s.count, want.count) << want.kind;
    EXPECT_EQ(s.hidden, 1) << want.kind;
    for (float v : {s.scale.x, s.scale.y, s.scale.z}) EXPECT_EQ(v, want.scale) << want.kind;
  }
}

TEST(EffectRegistryRows, TheSparksAndTheSingleKindsHaveTheirArguments) {
  const auto& sparks = std::get<TParticleArgs>(FindEffectRow(122)->args);
  EXPECT_EQ(FindEffectRow(122)->maker, TEffectMaker::kJitter);
  EXPECT_EQ(sparks.asset, "effect.ptx/thunder00");
  EXPECT_EQ(sparks.count, 4u);
  EXPECT_EQ(sparks.startBox.minimum.x, -2.5f);
  EXPECT_EQ(sparks.startBox.maximum.z, 2.5f);

  const auto& thunder = std::get<TThunderArgs>(FindEffectRow(121)->args);
  EXPECT_EQ(thunder.name, "");
  EXPECT_EQ(thunder.boltCount, 3u);
  EXPECT_EQ(std::vector<float>({thunder.end1, thunder.step1, thunder.end2, thunder.step2, float(thunder.loops),
                                thunder.end3, thunder.step3}),
            std::vector<float>({4.0f, 0.2f, 8.0f, 0.2f, -1.0f, 12.0f, 0.2f}));
  EXPECT_EQ(std::get<TArrowArgs>(FindEffectRow(1000)->args).ticks, 10);
  EXPECT_EQ(std::get<TArrowArgs>(FindEffectRow(1001)->args).ticks, 27);
  const auto& debris = std::get<TDebrisArgs>(FindEffectRow(2000)->args);
  EXPECT_EQ(FindEffectRow(2000)->maker, TEffectMaker::kSmash);
  EXPECT_EQ(debris.mesh, "ring02_mesh.msh");
  EXPECT_EQ(std::vector<float>({float(debris.waitLimit), float(debris.timeStep), debris.pieceSpeed, debris.gravity,
                                debris.fade, float(debris.pieceMode), float(debris.alpha), debris.scale.x,
                                debris.scale.y, debris.scale.z}),
            std::vector<float>({1, 1, 0.05f, 0.001f, 0.02f, 0, 0, 2.0f, 2.0f, 2.0f}));
  EXPECT_EQ(FindEffectRow(10000)->maker, TEffectMaker::kRay);
  EXPECT_EQ(std::get<TRayArgs>(FindEffectRow(10000)->args).mesh, "sword01.msh");
}

}  // namespace
}  // namespace effectregistryrowstest
