// Stand-in of the gyro systems until the systems step drives them: the gyros
// stand still at zero.
#include "flightmodel/systems/gyros.h"

float gyro_power[GYRO_SYSTEMS] = {};
float gyro_spin[GYRO_SYSTEMS] = {};
float gyro_pitch[GYRO_SYSTEMS] = {};
float gyro_heading[GYRO_SYSTEMS] = {};
float gyro_roll[GYRO_SYSTEMS] = {};
float gyro_pitch_error[GYRO_SYSTEMS] = {};
float gyro_roll_error[GYRO_SYSTEMS] = {};
