// The data groups as data: one entry per group, its caption entry, kind,
// override flag and input mask, and its eight value slots.
#include <initializer_list>

#include "aircraft/acf_struct.h"
#include "core/geo.h"
#include "core/simvars.h"
#include "core/units.h"
#include "flightmodel/flt.h"
#include "flightmodel/systems/gyros.h"
#include "links/dataout_groups.h"
#include "links/net_receive.h"

namespace {

// Short names for the unit factors of core/units.h, to keep the table narrow.
constexpr float KT = UNIT.mps_to_kts;
constexpr float MPH = UNIT.kts_to_mph;
constexpr float FPM = UNIT.mps_to_fpm;
constexpr float FT = UNIT.mtrs_to_ft;
constexpr float NM = UNIT.mtrs_to_nm;
constexpr float INHG = UNIT.pa_to_inhg;
constexpr float PSF = UNIT.pa_to_psf;
constexpr float LB = UNIT.n_to_lbf;
constexpr float FTLB = UNIT.nm_to_ftlbf;
constexpr float RPM = UNIT.radps_to_rpm;
constexpr float KGLB = UNIT.kgs_to_lbs;
constexpr float HP = UNIT.watts_to_hp;
constexpr float HOURS = 1.0f / 3600.0f;   // seconds to hours

flt_struct& U = flt[0];     // the user's plane
acf_struct& A = pln[0];     // its aircraft

data_value E() { return data_value{}; }

// Short names for the ranges a received value must lie in (links/net_ranges.h),
// to keep the table narrow; a slot without one takes any value of its type
// that a product of two keeps finite.
constexpr net_range POS = RANGE_LOCAL;
constexpr net_range AREA_X = RANGE_AREA_X;
constexpr net_range AREA_Z = RANGE_AREA_Z;
constexpr net_range HEIGHT = RANGE_HEIGHT;
constexpr net_range LAT = RANGE_LATITUDE;
constexpr net_range LON = RANGE_LONGITUDE;
constexpr net_range ELEV = RANGE_ELEVATION;
constexpr net_range SPEED = RANGE_SPEED;
constexpr net_range ANGLE = RANGE_ANGLE;
constexpr net_range RATE = RANGE_RATE;
constexpr net_range LOAD = RANGE_LOAD;
constexpr net_range RATIO = RANGE_RATIO;
constexpr net_range SHARE = RANGE_SHARE;
constexpr net_range TIME = RANGE_TIME;
constexpr net_range DAYTIME = RANGE_TIME_OF_DAY;
constexpr net_range FLAG = RANGE_FLAG;
constexpr net_range MASS = RANGE_MASS;
constexpr net_range PRESSURE = RANGE_PRESSURE;
constexpr net_range TEMPERATURE = RANGE_TEMPERATURE;
constexpr net_range SEA_PRESSURE = RANGE_SEA_LEVEL_PRESSURE;
constexpr net_range SEA_TEMPERATURE = RANGE_SEA_LEVEL_TEMPERATURE;
constexpr net_range WIND = RANGE_WIND_SPEED;
constexpr net_range FAILURE = RANGE_FAILURE_STATE;

data_value F(float* p, float factor = 1.0f, net_range range = RANGE_VALUE)
{
    data_value v;
    v.type = VALUE_FLOAT;
    v.place = p;
    v.factor = factor;
    v.range = range;
    return v;
}

// A float slot of factor 1 in a range.
data_value F(float* p, net_range range) { return F(p, 1.0f, range); }

data_value FX(float* p, float (*factor_of)(), net_range range = RANGE_VALUE)
{
    data_value v = F(p, 1.0f, range);
    v.factor_of = factor_of;
    return v;
}

data_value I(int32_t* p, net_range range = RANGE_INT_VALUE)
{
    data_value v;
    v.type = VALUE_INT;
    v.place = p;
    v.factor = DATA_INTEGER;
    v.range = range;
    return v;
}

// A float slot whose received value is stored by `store` instead.
data_value FS(float* p, net_range range, void (*store)(float))
{
    data_value v = F(p, 1.0f, range);
    v.store = store;
    return v;
}

data_value C(float (*compute)())
{
    data_value v;
    v.type = VALUE_COMPUTED;
    v.compute = compute;
    return v;
}

data_value LF(void* (*locate)())
{
    data_value v = F(nullptr);
    v.locate = locate;
    return v;
}

data_value LI(void* (*locate)())
{
    data_value v = I(nullptr);
    v.locate = locate;
    return v;
}

// The scenery reference tile moves only with the scene: stored as it stands, a
// received lat_ref or lon_ref would leave the loaded scenery on the old tile
// while every local position is converted about the new one (the plane drawn
// and flown over the wrong ground). It rebuilds the scene at that tile (whole
// degrees) instead, as a position from outside does.
// A move held for the end of the pass counts as made: a row with both halves
// moves to both.
void store_lat_ref(float v)
{
    int a, b;
    NET_reference_tile_wanted(a, b);
    NET_move_reference_tile(GEO_round(v), b);
}
void store_lon_ref(float v)
{
    int a, b;
    NET_reference_tile_wanted(a, b);
    NET_move_reference_tile(a, GEO_round(v));
}

data_group G(int caption, data_kind kind, std::initializer_list<data_value> values, int32_t* override_flag = nullptr,
             const char* mask = "........")
{
    data_group g{};
    g.caption = static_cast<int16_t>(caption);
    g.kind = kind;
    g.override_flag = override_flag;
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) g.mask[k] = mask[k];
    g.mask[DATA_RECORD_VALUES] = 0;
    int k = 0;
    for (const data_value& v : values)
        if (k < DATA_RECORD_VALUES) g.values[k++] = v;
    return g;
}

// A group of one value per engine (or element, k = 0..7) of a float row.
data_group ROW(int caption, data_kind kind, float* row, float factor = 1.0f, net_range range = RANGE_VALUE)
{
    data_group g = G(caption, kind, {});
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) g.values[k] = F(row + k, factor, range);
    return g;
}
data_group ROW(int caption, data_kind kind, float* row, net_range range) { return ROW(caption, kind, row, 1.0f, range); }

data_group ROWI(int caption, data_kind kind, int32_t* row, net_range range = RANGE_INT_VALUE)
{
    data_group g = G(caption, kind, {});
    for (int k = 0; k < DATA_RECORD_VALUES; ++k) g.values[k] = I(row + k, range);
    return g;
}

// A group of the first `count` values of a float row.
data_group ROWN(int caption, data_kind kind, float* row, int count, float factor = 1.0f,
                net_range range = RANGE_VALUE)
{
    data_group g = G(caption, kind, {});
    for (int k = 0; k < count && k < DATA_RECORD_VALUES; ++k) g.values[k] = F(row + k, factor, range);
    return g;
}

// Computed values and factors.
// A period of 0 gives an endless rate, which the value preparation holds to 9.9e9.
float frames_per_second() { return 1.0f / sim_operation_misc.frame_rate_period; }
float per_speed_of_sound() { return 1.0f / sim_weather.speed_of_sound_ms; }
float per_axial_aero_force() { return 1.0f / U.faxil_aero; }

// The DME values of the source radio the DME switch selects (0..5). A switch
// value outside 0..5 (written from outside) would read past the rows of six:
// the four values are empty then.
int dme_source()
{
    const int s = sim_cockpit_switches.DME_distance_or_time;
    return s >= 0 && s < RADIO_RECEIVERS ? s : -1;
}
void* dme_distance() { return dme_source() < 0 ? nullptr : &sim_cockpit_radios.nav1_dme_dist_m[dme_source()]; }
void* dme_speed() { return dme_source() < 0 ? nullptr : &sim_cockpit_radios.nav1_dme_speed_kts[dme_source()]; }
void* dme_time() { return dme_source() < 0 ? nullptr : &sim_cockpit_radios.nav1_dme_time_secs[dme_source()]; }
void* dme_has() { return dme_source() < 0 ? nullptr : &sim_cockpit_radios.nav1_has_dme[dme_source()]; }

// The selected weapon slot's values, all 0.0 with no weapon selected (index
// below 0); an index past the 24 slots would read past them and gives 0.0 too.
template <int K>
float weapon_value()
{
    const int s = sim_cockpit_weapons.selected_weapon_slot;
    if (s < 0 || s >= ACF_WPN_SLOTS) return 0.0f;
    const wpn_slot_record& w = A.acf_wpn_slot[s];
    const float v[DATA_RECORD_VALUES] = {w.wpn_mass,         w.wpn_fixed_mass, w.wpn_ammo,        w.wpn_fire_rate,
                                         w.wpn_muzzle_speed, w.wpn_range,      w.wpn_thrust[0], w.wpn_burn_time[0]};
    return v[K];
}

sim_cockpit_radios_block& R = sim_cockpit_radios;
sim_cockpit_warnings_annunciators_block& AN = sim_cockpit_warnings_annunciators;
sim_operation_override_block& OV = sim_operation_override;

}  // namespace

const data_group data_groups[DATAOUT_GROUP_COUNT] = {
    G(409, KIND_A, {C(frames_per_second), F(&sim_operation_misc.time_ratio)}),
    G(410, KIND_A, {F(&sim_time.total_running_time_sec, TIME), F(&sim_time.timer_elapsed_time_sec, TIME),
                    F(&sim_time.local_time_sec, HOURS, DAYTIME), F(&sim_time.zulu_time_sec, HOURS, DAYTIME)}),
    G(411, KIND_A, {F(&U.true_airspeed, KT, SPEED), F(&U.indicated_airspeed, SPEED),
                    F(&U.true_airspeed, KT * MPH, SPEED), F(&U.indicated_airspeed, MPH, SPEED),
                    F(&U.vh_ind, FPM, SPEED), E(), F(&U.groundspeed, KT, SPEED), F(&U.groundspeed, KT * MPH, SPEED)}),
    G(412, KIND_A, {FX(&U.true_airspeed, per_speed_of_sound, SPEED), F(&U.g_nrml, LOAD), F(&U.g_axil, -1.0f, LOAD),
                    F(&U.g_side, LOAD)}),
    G(413, KIND_A, {F(&U.alpha, ANGLE), F(&U.beta, ANGLE), F(&U.hpath, ANGLE), F(&U.vpath, ANGLE)}),
    // The sea-level temperature is the weather's: the planet's store keeps
    // the standard 15 C while the weather (the first start's -5 C, the
    // weather screen) sets the other, and the group sent the planet's.
    G(414, KIND_A, {F(&sim_physics.earth_pressure_p, INHG, SEA_PRESSURE),
                    F(&sim_weather.temperature_sealevel_c, SEA_TEMPERATURE),
                    // The wind is kept in knots already: taken as metres a
                    // second, a 10-kt wind was sent as 19.4 kt.
                    F(&sim_weather.wind_speed_kt[0], WIND), F(&sim_weather.wind_direction_degt[0], ANGLE)}),
    G(415, KIND_A, {F(&sim_physics.ambient_pressure, INHG, PRESSURE), F(&sim_weather.temperature_ambient_c, TEMPERATURE),
                    F(&sim_weather.temperature_le_c, TEMPERATURE), F(&sim_physics.g_sealevel, FT),
                    F(&sim_weather.sigma), F(&U.Qstatic, PSF, PRESSURE), F(&sim_weather.speed_of_sound_ms, KT, SPEED)}),
    G(416, KIND_A, {F(&sim_cockpit_misc.barometer_setting), F(&U.ENGN_sigma[0]), E(), F(&gyro_power[0]),
                    F(&gyro_power[1]), E(), F(&gyro_spin[0]), F(&gyro_spin[1])}),
    G(417, KIND_A, {F(&sim_joystick.yolk_pitch_ratio, RATIO), F(&sim_joystick.yolk_roll_ratio, RATIO),
                    F(&sim_joystick.yolk_heading_ratio, RATIO), F(&U.swdirqst, RATIO), F(&U.vectrqst, RATIO)},
      &OV.override_joystick, "xxxxx..."),
    G(418, KIND_A, {F(&sim_joystick.artstab_pitch_ratio, RATIO), F(&sim_joystick.artstab_roll_ratio, RATIO),
                    F(&sim_joystick.artstab_heading_ratio, RATIO)},
      &OV.override_artstab, "xxx....."),
    G(419, KIND_A, {F(&U.FC_ptch, RATIO), F(&U.FC_roll, RATIO), F(&U.FC_hdng, RATIO), F(&U.nosewheel_steer, ANGLE)},
      &OV.override_flightcontrol, "xxxx...."),
    G(420, KIND_A, {F(&U.swdi, RATIO), F(&A.acf_sweepnow[ACF_SWEEPNOW_WING_SWEEP2], ANGLE),
                    F(&A.acf_sweepnow[ACF_SWEEPNOW_WING_SWEEP3], ANGLE), F(&A.acf_sweepnow[ACF_SWEEPNOW_TVECT], ANGLE),
                    F(&A.acf_sweepnow[ACF_SWEEPNOW_WING_SWEEP1], ANGLE), F(&U.vect_ratio, RATIO)}),
    G(421, KIND_A, {F(&U.elv_trim, RATIO), F(&U.ail_trim, RATIO), F(&U.rud_trim, RATIO), F(&U.rot_trim, RATIO),
                    F(&U.flaprqst, RATIO), F(&U.flaprat, RATIO), F(&U.slatrat, RATIO), F(&U.sbrkrqst, RATIO)}),
    G(422, KIND_A, {I(&sim_cockpit_switches.gear_handle_status, FLAG), F(&U.parkbrake, RATIO),
                    F(&U.l_brake_add, RATIO), F(&U.r_brake_add, RATIO)},
      &OV.override_gearbrake, "xxxx...."),
    G(423, KIND_A, {F(&U.M, FTLB), F(&U.L, FTLB), F(&U.N, FTLB)}),
    G(424, KIND_A, {F(&U.Q_dot), F(&U.P_dot), F(&U.R_dot)}),
    G(425, KIND_A, {F(&U.Q, RATE), F(&U.P, RATE), F(&U.R, RATE)}),
    G(426, KIND_A, {F(&U.theta, ANGLE), F(&U.phi, ANGLE), F(&U.psi, ANGLE), F(&U.magpsi, ANGLE),
                    F(&sim_flightmodel_position.magnetic_variation, ANGLE), F(&sim_cockpit_autopilot.heading_mag, ANGLE)},
      &OV.override_planepath[0], "xxxx...."),
    G(427, KIND_A, {F(&U.latitude, LAT), F(&U.longitude, LON), F(&U.elevation, FT, ELEV), F(&U.y_agl, FT, ELEV), E(),
                    F(&U.h_ind, FT, ELEV), FS(&lat_ref, LAT, store_lat_ref), FS(&lon_ref, LON, store_lon_ref)}),
    G(428, KIND_A, {F(&U.local_x, AREA_X), F(&U.local_y, HEIGHT), F(&U.local_z, AREA_Z), E(), E(), E(), F(&U.dist, FT),
                    F(&U.dist, NM)},
      &OV.override_planepath[0], "xxx....."),
    G(429, KIND_A, {F(&flt[0].local_x, AREA_X), F(&flt[1].local_x, POS), F(&flt[2].local_x, POS), F(&flt[3].local_x, POS),
                    F(&flt[4].local_x, POS), F(&flt[5].local_x, POS), F(&flt[6].local_x, POS),
                    F(&flt[7].local_x, POS)}),
    G(430, KIND_A, {F(&flt[0].local_y, HEIGHT), F(&flt[1].local_y, HEIGHT), F(&flt[2].local_y, HEIGHT),
                    F(&flt[3].local_y, HEIGHT), F(&flt[4].local_y, HEIGHT), F(&flt[5].local_y, HEIGHT),
                    F(&flt[6].local_y, HEIGHT), F(&flt[7].local_y, HEIGHT)}),
    G(431, KIND_A, {F(&flt[0].local_z, AREA_Z), F(&flt[1].local_z, POS), F(&flt[2].local_z, POS), F(&flt[3].local_z, POS),
                    F(&flt[4].local_z, POS), F(&flt[5].local_z, POS), F(&flt[6].local_z, POS),
                    F(&flt[7].local_z, POS)}),
    ROW(432, KIND_E0, U.ENGN_thro, RATIO),             // 23
    ROWI(433, KIND_E0, U.ENGN_propmode),               // 24
    ROW(434, KIND_E6, U.ENGN_prop, RPM),               // 25
    ROW(435, KIND_E0, U.ENGN_mixt, RATIO),             // 26
    ROW(436, KIND_E6, U.ENGN_heat, RATIO),             // 27
    ROWI(437, KIND_E0, U.ignition_on),                 // 28
    ROW(438, KIND_E6, U.ENGN_cowl, RATIO),             // 29
    ROW(439, KIND_E5, U.ENGN_power, HP),               // 30
    ROW(440, KIND_E5, U.POINT_thrust, LB),             // 31
    ROW(441, KIND_E1, U.ENGN_TRQ, FTLB),               // 32
    ROW(522, KIND_E0, U.ENGN_tacrad, RPM),             // 33
    ROW(442, KIND_E6, U.POINT_tacrad, RPM),            // 34
    ROW(443, KIND_E6, U.POINT_pitch_deg, ANGLE),       // 35
    ROW(444, KIND_E5, U.DVinc, KT, SPEED),             // 36
    ROW(445, KIND_E2, U.ENGN_MPR),                     // 37
    ROW(446, KIND_E5, U.ENGN_N1_),                     // 38
    ROW(447, KIND_E3, U.ENGN_EPR),                     // 39
    ROW(448, KIND_E0, U.ENGN_FF_, KGLB * 3600.0f),     // 40
    ROW(449, KIND_E0, U.ENGN_EGT),                     // 41
    ROW(450, KIND_E0, U.ENGN_ITT),                     // 42
    ROW(451, KIND_E0, U.ENGN_oil_press),               // 43
    ROW(452, KIND_E0, U.ENGN_oil_temp),                // 44
    ROW(519, KIND_E0, U.ENGN_gen_amp),                 // 45
    ROW(453, KIND_E0, U.ENGN_bat_amp),                 // 46
    ROW(454, KIND_E0, U.ENGN_bat_volt),                // 47
    ROWI(455, KIND_E0, sim_cockpit_engine.fuel_pump_on),      // 48
    ROWI(456, KIND_E0, sim_cockpit_electrical.generator_on),  // 49
    ROWI(457, KIND_E0, sim_cockpit_engine.inverter_on),       // 50
    ROWI(370, KIND_E0, sim_cockpit_engine.idle_speed),        // 51
    ROW(458, KIND_E0, sim_cockpit_engine.starter_duration),   // 52
    G(459, KIND_A, {F(&U.fnrml_aero, LB), F(&U.faxil_aero, LB), F(&U.fside_aero, LB)}),
    G(460, KIND_A, {F(&U.fnrml_prop, LB), F(&U.faxil_prop, -LB), F(&U.fside_prop, LB)}),
    ROWN(461, KIND_G, &U.nrml_force[FLT_FIRST_GEAR_PART], FLT_GEAR_COUNT, LB),   // 55
    ROWN(462, KIND_G, &A.acf_gear_def[FLT_FIRST_GEAR_PART], FLT_GEAR_COUNT, FT),  // 56
    G(463, KIND_A, {FX(&U.fnrml_aero, per_axial_aero_force)}),
    ROW(464, KIND_E6, U.POINT_prop_eff),               // 58
    ROW(465, KIND_A, &U.ail1_def[8], ANGLE),           // 59
    ROW(466, KIND_A, &U.splr_def[8], ANGLE),           // 60
    G(467, KIND_A, {F(&U.elev_cont_def[16], ANGLE), F(&U.elev_cont_def[17], ANGLE)}),
    G(468, KIND_A, {F(&U.rudd_def[18], ANGLE), F(&U.rudd_def[19], ANGLE)}),
    ROW(469, KIND_A, &U.yawb_def[8], ANGLE),           // 63
    ROW(470, KIND_E5, U.vertcant, ANGLE),              // 64
    ROW(471, KIND_E5, U.sidecant, ANGLE),              // 65
    ROW(472, KIND_E5, U.cyclic_elev_disc_tilt, ANGLE), // 66
    ROW(473, KIND_E5, U.cyclic_ailn_disc_tilt, ANGLE), // 67
    ROW(474, KIND_E6, U.cyclic_elev_blad_alph, ANGLE), // 68
    ROW(475, KIND_E6, U.cyclic_ailn_blad_alph, ANGLE), // 69
    G(476, KIND_A, {F(&U.m_fixed, KGLB, MASS), F(&U.m_fuel1, KGLB, MASS), F(&U.m_fuel2, KGLB, MASS),
                    F(&U.m_fuel3, KGLB, MASS), F(&U.m_jettison, KGLB, MASS)}),
    G(477, KIND_A, {F(&A.acf_m_empty, KGLB, MASS), F(&U.m_total, KGLB, MASS), F(&A.acf_m_max, KGLB, MASS), E(),
                    F(&U.cgz_ref_to_default, FT)}),
    ROW(478, KIND_W, &U.CL_grndeffect[8]),             // 72
    ROW(479, KIND_W, &U.CD_grndeffect[8]),             // 73
    ROWN(480, KIND_S, &U.CL_grndeffect[16], 4),        // 74
    ROWN(481, KIND_S, &U.CD_grndeffect[16], 4),        // 75
    ROW(482, KIND_E6, U.CL_grndeffect),                // 76
    ROW(483, KIND_E6, U.CD_grndeffect),                // 77
    ROW(484, KIND_W, &U.nrml_force[8], LB),            // 78
    ROW(485, KIND_W, &U.axil_force[8], LB),            // 79
    ROWN(486, KIND_S, &U.nrml_force[16], 4, LB),       // 80
    ROWN(487, KIND_S, &U.axil_force[16], 4, LB),       // 81
    G(488, KIND_A, {I(&R.com1_freq_hz), I(&R.com1_stdby_freq_hz), I(&R.com2_freq_hz), I(&R.com2_stdby_freq_hz)}),
    G(489, KIND_A, {I(&R.nav1_freq_hz), I(&R.nav1_stdby_freq_hz), I(&R.nav2_freq_hz), I(&R.nav2_stdby_freq_hz),
                    I(&R.nav_type[0]), I(&R.nav_type[1]), F(&R.nav1_course_degt[0], ANGLE),
                    F(&R.nav1_course_degt[1], ANGLE)}),
    G(490, KIND_A, {F(&R.nav1_obs_degm, ANGLE), I(&R.nav1_fromto[0]), F(&R.nav2_obs_degm, ANGLE), I(&R.nav1_fromto[1])}),
    G(491, KIND_A, {F(&R.nav1_hdef_dot[0]), F(&R.nav1_vdef_dot[0]), F(&R.nav1_dir_degt[0], ANGLE),
                    F(&R.nav1_dme_dist_m[0]), F(&R.nav1_hdef_dot[1]), F(&R.nav1_vdef_dot[1]),
                    F(&R.nav1_dir_degt[1], ANGLE), F(&R.nav1_dme_dist_m[1])},
      &OV.override_navneedles, "xxxxxxxx"),
    G(492, KIND_A, {I(&R.adf1_freq_hz), F(&R.adf1_obs_card_mag, ANGLE), F(&R.nav1_dir_degt[2], ANGLE), E(),
                    I(&R.adf2_freq_hz), F(&R.adf2_obs_card_mag, ANGLE), F(&R.nav1_dir_degt[3], ANGLE)},
      &OV.override_adf, "..xxxxx."),
    G(493, KIND_A, {I(&sim_cockpit_switches.DME_radio_selector), LF(dme_distance), LF(dme_speed), LF(dme_time),
                    LI(dme_has), I(&sim_cockpit_switches.DME_distance_or_time), I(&R.dme_freq_hz),
                    I(&R.nav1_has_dme[5])},
      &OV.override_dme, ".xxxxxxx"),
    G(494, KIND_A, {I(&sim_cockpit_gps.destination_type), I(&sim_cockpit_gps.destination_index),
                    F(&R.nav1_dme_dist_m[4]), F(&R.obs_mag), F(&R.nav1_course_degt[4]), F(&R.nav1_hdef_dot[4]),
                    I(&R.nav1_fromto[4]), F(&R.nav1_dir_degt[4])},
      &OV.override_gps, "..xxxxxx"),
    G(495, KIND_A, {I(&R.transponder_code), I(&R.transponder_id), I(&R.transponder_light)}),
    G(496, KIND_A, {I(&sim_cockpit_autopilot.airspeed_mode), I(&sim_cockpit_autopilot.heading_mode),
                    I(&sim_cockpit_autopilot.altitude_mode), I(&sim_cockpit_autopilot.hnav_mode),
                    I(&sim_cockpit_autopilot.vnav_mode), I(&sim_cockpit_autopilot.backcourse_on)},
      &OV.override_autopilot, "xxxxxxxx"),
    G(201, KIND_A, {F(&sim_cockpit_autopilot.airspeed, SPEED), F(&sim_cockpit_autopilot.heading_mag, ANGLE),
                    F(&sim_cockpit_autopilot.vertical_velocity), F(&sim_cockpit_autopilot.altitude),
                    F(&sim_cockpit_autopilot.current_altitude), F(&sim_cockpit_autopilot.pitch_hold_deg, ANGLE)}),
    G(497, KIND_A, {I(&sim_cockpit_autopilot.autopilot_mode), F(&sim_cockpit_autopilot.flight_director_pitch),
                    F(&sim_cockpit_autopilot.flight_director_roll), I(&sim_cockpit_switches.HSI_selector),
                    I(&sim_cockpit_switches.RMI_selector), I(&sim_cockpit_switches.audio_panel_out),
                    I(&sim_cockpit_switches.EFIS_map_range_selector)},
      &OV.override_flightdir, ".xx....."),
    G(498, KIND_A, {I(&sim_cockpit_misc.outer_marker_lit), I(&sim_cockpit_misc.middle_marker_lit),
                    I(&sim_cockpit_misc.inner_marker_lit), I(&R.marker_audio_working), I(&R.gear_audio_working),
                    I(&U.lo_rotor_warning)}),
    G(499, KIND_A, {I(&sim_cockpit_electrical.battery_on), I(&sim_cockpit_electrical.avionics_on), I(&U.nav_lights_on),
                    I(&U.beacon_lights_on), I(&U.strobe_lights_on), I(&U.landing_lights_on),
                    I(&sim_cockpit_electrical.HUD_on), F(&sim_cockpit_electrical.HUD_brightness)}),
    G(500, KIND_A, {I(&sim_cockpit_switches.pitot_heat_on), I(&sim_cockpit_switches.anti_ice_on),
                    I(&sim_cockpit_switches.auto_brake_settings), I(&U.taxi_light_on),
                    I(&sim_cockpit_switches.yaw_damper_on), I(&sim_cockpit_switches.art_stab_on),
                    I(&sim_cockpit_engine.fadec_on[0]), I(&sim_cockpit_engine.fadec_on[1])}),
    G(501, KIND_A, {I(&sim_cockpit_switches.prop_sync_on), I(&sim_cockpit_switches.arresting_gear),
                    I(&sim_cockpit_switches.ECAM_mode), F(&sim_cockpit_misc.radio_altimeter_minimum),
                    I(&sim_cockpit_switches.pre_rotating), I(&sim_cockpit_switches.pre_rotate_level),
                    I(&sim_cockpit_engine.fuel_tank_selector), I(&sim_cockpit_switches.auto_feather_mode)}),
    G(502, KIND_A, {F(&sim_cockpit_pressure.cabin_altitude_set_m_msl, FT), F(&sim_cockpit_pressure.cabin_vvi_set_m_msec, FPM),
                    F(&sim_cockpit_pressure.cabin_altitude_actual_m_msl, FT),
                    F(&sim_cockpit_pressure.cabin_vvi_actual_m_msec, FPM), F(&sim_cockpit_pressure.pressure_test_timeout),
                    I(&sim_cockpit_pressure.bleed_air_on)}),
    G(503, KIND_A, {C(weapon_value<0>), C(weapon_value<1>), C(weapon_value<2>), C(weapon_value<3>), C(weapon_value<4>),
                    C(weapon_value<5>), C(weapon_value<6>), C(weapon_value<7>)}),
    G(504, KIND_A, {F(&sim_graphics_view.view_x, POS), F(&sim_graphics_view.view_y, POS),
                    F(&sim_graphics_view.view_z, POS), F(&sim_private_camera.the, ANGLE),
                    F(&sim_private_camera.psi, ANGLE), F(&sim_private_camera.phi, ANGLE),
                    F(&sim_graphics_view.view_zoom)},
      &OV.override_camera, "xxxxxxx."),
    G(505, KIND_A, {F(&sim_cockpit_warnings.annunciator_test_timeout), I(&sim_cockpit_warnings.master_accept_on),
                    I(&sim_cockpit_warnings.master_caution_on), I(&U.stallwarning), F(&U.frm_ice, SHARE),
                    I(&sim_time.paused, FLAG)}),
    G(506, KIND_A, {I(&AN.master_caution), I(&AN.master_accept), I(&AN.autopilot_disconnect), I(&AN.low_vacuum),
                    I(&AN.low_voltage), I(&AN.fuel_quantity), I(&AN.hydraulic_pressure), F(&U.prop_ospeed_test_timeout)},
      &OV.override_annunciators, "xxxxxxx."),
    G(507, KIND_A, {I(&AN.fuel_pressure), I(&AN.oil_pressure), I(&AN.oil_temperature), I(&AN.inverter), I(&AN.generator),
                    I(&AN.chip_detect), I(&AN.engine_fire), I(&AN.auto_ignition)},
      &OV.override_annunciators, "xxxxxxxx"),
    G(508, KIND_A, {F(&A.acf_Vso, SPEED), F(&A.acf_Vs, SPEED), F(&A.acf_Vfe, SPEED), F(&A.acf_Vle, SPEED),
                    F(&A.acf_Vno, SPEED), F(&A.acf_Vne, SPEED), F(&A.acf_Mmo)}),
    G(509, KIND_A, {I(&sim_joystick.eq_ped_nobrk), I(&sim_joystick.eq_ped_wibrk), I(&sim_joystick.eq_cirrusII_fun),
                    I(&sim_joystick.eq_cirrusII_app), I(&sim_joystick.eq_pfc_pedals), I(&sim_joystick.eq_pfc_cirrus2)}),
    ROWI(524, KIND_A, U.comp_fail_stat, FAILURE),      // 105
    G(579, KIND_A, {F(&U.pitot_ice, SHARE), F(&U.prop_ice, SHARE), F(&U.inlet_ice, SHARE), F(&U.window_ice, SHARE),
                    F(&U.frm_ice, SHARE)}),
};
