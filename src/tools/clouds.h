// clouds: the point-cloud generators and the fountain's nozzle.
//
// Each generator writes only the array it is given (spawnparticle: the
// fountain arrays of Eng3D) and draws from the shared random generator in a
// fixed order, so a fixed seed gives the same clouds every run.
// Depends on: Eng3D (points, fountain arrays), runtime (random).
#pragma once

#include <cstdint>

#include "Eng3D/Eng3D.h"

namespace tools {

using Eng3D::tpoint3d;
using Eng3D::tvector;

constexpr int cloudsize = 451;  // points 0..450
using tcloud = tpoint3d[cloudsize];

// The coil's angle factor and the launch speed scale; both single.
inline constexpr float helixangle = 4.0f;
inline constexpr float launchspeed = -0.025f;
// Where a fountain particle starts.
inline constexpr float nozzley = 0.3f;
inline constexpr float nozzlez = 1.0f;

// A random cube spanning +-1/6 in x and y and 2/3..1 in z, colour 192;
// three draws per point.
void cubecloud(tcloud& cloud);

// Points along a coil over five turns, x from 0 to 1, colour 192; no draws.
void helixcloud(tcloud& cloud);

// A launch velocity: slow drift to +x, upward, slight scatter in z; three
// draws. The fountain uses the same rule at start-up.
tvector launchvelocity();

// Puts fountain particle n (1..450) back at the nozzle with a random colour
// 0..62 and a fresh velocity: four draws.
void spawnparticle(uint16_t n);

}  // namespace tools
