// The global view factor of the field: "setting.ini" View x 0.01, by which the map-data readers and
// the camera scale what they place. 1.0 until the device builder sets it.
#pragma once

void SetViewScale(float factor);
float GetViewScale();
