#include "world/ships.h"

float ship_x[SEA_OBJECT_SLOTS] = {-9.9e9f, -9.9e9f, -9.9e9f, -9.9e9f, -9.9e9f, -9.9e9f};
float ship_y[SEA_OBJECT_SLOTS] = {};
float ship_z[SEA_OBJECT_SLOTS] = {-9.9e9f, -9.9e9f, -9.9e9f, -9.9e9f, -9.9e9f, -9.9e9f};
float ship_vx[SEA_OBJECT_SLOTS] = {};
float ship_vz[SEA_OBJECT_SLOTS] = {};
float ship_heading[SEA_OBJECT_SLOTS] = {};

float ship_turn_rate[SEA_OBJECT_SLOTS] = {};
float ship_pitch[SEA_OBJECT_SLOTS] = {};
float ship_roll[SEA_OBJECT_SLOTS] = {};
float ship_pitch_rate[SEA_OBJECT_SLOTS] = {};
float ship_roll_rate[SEA_OBJECT_SLOTS] = {};
int32_t ship_cell_row[SEA_OBJECT_SLOTS] = {};
int32_t ship_cell_col[SEA_OBJECT_SLOTS] = {};
