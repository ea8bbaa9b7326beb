// Weather at the user's plane.
#include "flightmodel/systems/weather.h"

#include <algorithm>
#include <cmath>

#include "aircraft/acf_struct.h"
#include "core/constants.h"
#include "core/frame_clock.h"
#include "core/geo.h"
#include "core/random.h"
#include "core/reset_registry.h"
#include "core/simvars.h"
#include "flightmodel/atmosphere.h"
#include "flightmodel/environment/random_interp.h"
#include "flightmodel/flt.h"
#include "core/numeric.h"
#include "flightmodel/gear_util.h"
#include "links/sound.h"
#include "world/metar.h"
#include "world/terrain_grid.h"

float wind_vector[3] = {};
float gust_vector[3] = {};
weather_stage_state weather_stage;

void WEATHER_reset()
{
    weather_stage = weather_stage_state{};
    for (float& v : wind_vector) v = 0.0f;
    for (float& v : gust_vector) v = 0.0f;
}
ORVELL_RESET(WEATHER_reset, program);

namespace {

constexpr int CLOUD_OVERCAST = 4;
constexpr float MICROBURST_CEILING_AGL_M = 300.0f;

float signed_rnd() { return 2.0f * UTIL_rand_fraction() - 1.0f; }

bool one_second() { return interval_ticks[INTERVAL_ONE_SECOND] != 0; }

float clamp01(float v) { return UTIL_clamp(v, 0.0f, 1.0f); }

bool warns_of_wind_shear()
{
    return (pln[0].acf_warn1EQ || pln[0].acf_warn2EQ) && sim_operation_prefs.warn_bb;
}

// The plane's terrain cell, kept inside the vertex grid with room for the
// neighbour at (i + 1, j + 1): the cell words are the flight-model record's,
// which plug-ins may write, and taken unchecked they would read past the grid.
void plane_cell(int& i, int& j)
{
    i = std::clamp(static_cast<int>(flt[0].i), 0, TERRAIN_GRID_ROWS - 2);
    j = std::clamp(static_cast<int>(flt[0].j), 0, TERRAIN_GRID_COLS - 2);
}

const terrain_vertex& vertex(int i, int j) { return terrain_vertex_grid[i * TERRAIN_GRID_COLS + j]; }

// Rise over run between two vertices along one axis, the run kept at least 1 m.
float slope(float rise, float run)
{
    if (std::fabs(run) <= 1.0f) run = run < 0.0f ? -1.0f : 1.0f;
    return UTIL_clamp(rise / run, -1.0f, 1.0f);
}

void ease(float& value, float target, float k) { value = (1.0f - k) * value + k * target; }

// The rain and thunderstorm fractions snap to 0 once both they and their targets are faint.
void ease_fraction(float& value, float target, float k)
{
    ease(value, target, k);
    if (value < 0.1f && target < 0.1f) value = 0.0f;
}

// The storm-grid cell at a local point, held to the grid: a strike drawn up to
// 30 nm away can lie beyond the loaded area, where the unheld cell would read
// past the grid; it reads the border cell instead.
int storm_cell(float x, float z)
{
    const int cx = std::clamp(ATMO_storm_cell_x(x), 0, STORM_GRID_DIM - 1);
    const int cz = std::clamp(ATMO_storm_cell_z(z), 0, STORM_GRID_DIM - 1);
    return cx * STORM_GRID_DIM + cz;
}

// The cloud layer whose middle the lightning bolts start from: the lowest with clouds.
int current_cloud_layer()
{
    for (int k = 0; k < CLOUD_LAYERS; ++k)
        if (sim_weather.cloud_type[k] != 0) return k;
    return 0;
}

}  // namespace

void WEATHER_real_weather()
{
    weather_stage_state& s = weather_stage;
    sim_weather_block& w = sim_weather;
    weather_target_record& t = s.weather_target;
    if (!s.targets_taken) {
        s.targets_taken = true;
        t.visibility_m = w.visibility_reported_m;
        for (int k = 0; k < CLOUD_LAYERS; ++k) {
            t.cloud_base_msl_m[k] = w.cloud_base_msl_m[k];
            t.cloud_tops_msl_m[k] = w.cloud_tops_msl_m[k];
        }
        t.rain_percent = w.rain_percent;
        t.thunderstorm_percent = w.thunderstorm_percent;
    }
    if (!w.use_real_weather_bool) return;

    const flt_struct& f = flt[0];
    // A position that is not a number (written from outside) has no whole
    // degree; converting it would be undefined, so it counts as degree 0.
    const int cell_lat = std::isfinite(f.latitude) ? static_cast<int>(f.latitude) : 0;
    const int cell_lon = std::isfinite(f.longitude) ? static_cast<int>(f.longitude) : 0;
    if (cell_lat != s.metar_cell[0] || cell_lon != s.metar_cell[1] || frame_clock > s.next_metar_check_time) {
        s.metar_cell[0] = cell_lat;
        s.metar_cell[1] = cell_lon;
        s.next_metar_check_time = frame_clock + sim_operation_prefs_realweather.check_real_weather_time_sec;
        w.rate_change_percent = 0.0f;
        float report_time = 0.0f;
        int kind = 0, intensity = 0;
        float pressure_inhg = sim_physics.earth_pressure_p * UNIT.pa_to_inhg;
        const int found = METAR_read(f.latitude, f.longitude, &report_time, w.cloud_type, t.cloud_base_msl_m,
                                     t.cloud_tops_msl_m, &t.visibility_m, &kind, &intensity, &w.temperature_sealevel_c,
                                     &w.dewpoi_sealevel_c, &w.wind_direction_degt[0], &w.wind_speed_kt[0],
                                     &w.shear_speed_kt[0], &pressure_inhg);
        w.has_real_weather_bool = found >= 0 ? 1 : 0;
        t.visibility_m =
            UTIL_clamp(t.visibility_m, 0.0f, sim_operation_prefs_realweather.real_weather_max_vis_nm * UNIT.nm_to_mtrs);
        sim_physics.earth_pressure_p = pressure_inhg * UNIT.inhg_to_pa;
        if (found >= 0) {
            w.runway_friction = 0;
            w.microburst_probability = 0.0f;
            t.rain_percent = 0.0f;
            t.thunderstorm_percent = 0.0f;
            if (intensity >= 1 && intensity <= 3) {
                const float share = 0.25f * static_cast<float>(intensity);
                if (kind == 2) {
                    w.microburst_probability = share;
                    t.thunderstorm_percent = share;
                    w.runway_friction = 2;
                } else if (kind == 1) {
                    t.rain_percent = share;
                    w.runway_friction = 2;
                }
            }
            // The wind layers rebuilt from layer 0 as the report filled it.
            w.wind_turbulence_percent = 0.0f;
            w.shear_direction_degt[0] = 2.0f * w.shear_speed_kt[0];
            w.turbulence[0] = 0.2f * w.wind_speed_kt[0];
            w.wind_direction_degt[1] = w.wind_direction_degt[0];
            w.wind_speed_kt[1] = 2.0f * w.wind_speed_kt[0];
            w.shear_speed_kt[1] = 0.5f * w.shear_speed_kt[0];
            w.shear_direction_degt[1] = 2.0f * w.shear_speed_kt[1];
            w.turbulence[1] = 0.1f * w.shear_speed_kt[1];
            w.wind_direction_degt[2] = w.wind_direction_degt[0];
            w.wind_speed_kt[2] = 2.0f * w.wind_speed_kt[1];
            w.shear_speed_kt[2] = 0.0f;
            w.shear_direction_degt[2] = 0.0f;
            w.turbulence[2] = 0.0f;
            for (int k = 0; k < WIND_LAYERS; ++k)
                w.wind_altitude_msl_m[k] = terrain_height_m + 4000.0f * static_cast<float>(k + 1);
        }
    }

    if (!w.has_real_weather_bool) return;
    const float k = sim_operation_misc.frame_rate_period * 0.005f;
    ease(w.visibility_reported_m, t.visibility_m, k);
    for (int c = 0; c < CLOUD_LAYERS; ++c) {
        ease(w.cloud_base_msl_m[c], t.cloud_base_msl_m[c], k);
        ease(w.cloud_tops_msl_m[c], t.cloud_tops_msl_m[c], k);
    }
    ease_fraction(w.rain_percent, t.rain_percent, k);
    ease_fraction(w.thunderstorm_percent, t.thunderstorm_percent, k);
}

void WEATHER_drift()
{
    sim_weather_block& w = sim_weather;
    if (!(std::fabs(w.rate_change_percent) > 0.01f)) return;
    const float dt = sim_operation_misc.frame_rate_period;
    float d = w.rate_change_percent * dt;
    // Weather that is already bad wanders instead of worsening without end.
    const bool already_bad[] = {w.rain_percent > 0.8f, w.thunderstorm_percent > 0.8f,
                                w.wind_turbulence_percent > 0.8f, w.microburst_probability > 0.8f,
                                w.visibility_reported_m < 3000.0f};
    for (bool bad : already_bad)
        if (d < 0.0f && bad) d = signed_rnd() * dt;

    const float f = d * 0.001f;
    w.cloud_tops_msl_m[0] *= 1.0f - f;
    w.cloud_base_msl_m[0] *= 1.0f + f;
    w.visibility_reported_m *= 1.0f + f;
    w.rain_percent = clamp01(w.rain_percent - f);
    const float g = d * 0.0005f;
    w.thunderstorm_percent = clamp01(w.thunderstorm_percent - g);
    w.wind_turbulence_percent = clamp01(w.wind_turbulence_percent - g);
    w.microburst_probability = clamp01(w.microburst_probability - g);
    // The layers move with a blend of the drift's own size this frame, so they
    // change as fast as the rest of the weather drifts (the call needs a blend
    // and the drift gives none of its own).
    ATMO_turbulence(std::fabs(d));
}

void WEATHER_wind_sample()
{
    const sim_weather_block& w = sim_weather;
    const flt_struct& f = flt[0];
    float speed = 0.0f, direction = 0.0f, gust = 0.0f, variation = 0.0f, turbulence = 0.0f;
    ATMO_wind_at_alt(f.y_agl, &speed, &direction, &gust, &variation, &turbulence);

    bool any_turbulence = false;
    for (int k = 0; k < WIND_LAYERS; ++k)
        if (w.turbulence[k] > 0.0f) any_turbulence = true;
    if (any_turbulence)
        for (int k = 0; k < CLOUD_LAYERS; ++k)
            if ((w.cloud_type[k] == 2 || w.cloud_type[k] == 3) && w.cloud_base_msl_m[k] <= f.elevation &&
                f.elevation <= w.cloud_tops_msl_m[k])
                turbulence = std::max(turbulence, 2.0f);

    // The mean wind with its gust and direction swing.
    const float speed_ms = (signed_rnd() * gust + speed) * UNIT.kts_to_mps;
    int dir = GEO_round(signed_rnd() * variation + direction) % 360;
    if (dir < 0) dir += 360;
    const float wx = -speed_ms * degree_sin[dir];
    const float wz = speed_ms * degree_cos[dir];

    // Ridge lift from the slope of the terrain cell under the plane.
    int i = 0, j = 0;
    plane_cell(i, j);
    const terrain_vertex& here = vertex(i, j);
    const terrain_vertex& next_x = vertex(i + 1, j);
    const terrain_vertex& next_z = vertex(i, j + 1);
    const float slope_x = slope(next_x.y - here.y, next_x.x - here.x);
    const float slope_z = slope(next_z.y - here.y, next_z.z - here.z);
    const float agl = f.y_agl;
    const float lift = (wx * slope_x + wz * slope_z) * clamp01(1.0f - 0.001f * agl);

    // A thermal over some cells.
    float strength = 0.0f;
    if (UTIL_random_interp(0.0f, 1.0f, i * j) < w.thermal_percent) strength = random_table[(i + j) % RANDOM_TABLE_SIZE] + 0.5f;
    const float top = w.thermal_altitude_msl_m * UNIT.ft_to_mtrs;
    const float fade = clamp01(1.0f - (agl - (top - 500.0f)) / 1000.0f);
    const float ramp = clamp01(0.01f * agl);
    const float thermal = strength * w.thermal_rate_ms * UNIT.fpm_to_mps * fade * ramp;
    const float vertical = lift + thermal;

    // Gusts, stronger in storms and turbulence, weaker near the ground, high
    // above the weather and for fast aircraft.
    const float s = weather_stage.storm_level, t = turbulence;
    const float a = UTIL_clamp(agl / 20.0f, 0.5f, 1.0f);
    const float b = clamp01(agl / 100.0f);
    const float c = UTIL_clamp((std::max(6000.0f, w.wind_altitude_msl_m[2]) + 2000.0f - f.elevation) / 1000.0f, 0.1f, 1.0f);
    const float vs = pln[0].acf_est_Vs;
    // No stall speed (0) gives an infinite root, held at 1; a negative one
    // would give a NaN root that spreads into the wind, and counts as 1 too.
    const float e = vs > 0.0f ? UTIL_clamp(std::sqrt(35.0f / vs), 0.1f, 1.0f) : 1.0f;
    gust_vector[0] = (30.0f * s + t) * signed_rnd() * a * c * e + wx;
    gust_vector[1] = (60.0f * s + 2.0f * t) * signed_rnd() * b * c * e + vertical;
    gust_vector[2] = (30.0f * s + t) * signed_rnd() * a * c * e + wz;
}

void WEATHER_microburst()
{
    weather_stage_state& s = weather_stage;
    const flt_struct& f = flt[0];
    const float dt = sim_operation_misc.frame_rate_period;
    const float now = sim_time.total_running_time_sec;
    const float p = sim_weather.microburst_probability;
    if (s.microburst_kind == 0 && p > 0.0f && f.y_agl < MICROBURST_CEILING_AGL_M) {
        if (UTIL_rand_fraction() * (MICROBURST_CEILING_AGL_M - 240.0f * p) <= dt) {
            s.microburst_kind = 1 + static_cast<int>(3.0f * static_cast<float>(UTIL_rand()) / 32768.0f);
            s.microburst_start = now;
            s.microburst_end = now + 10.0f + 10.0f * UTIL_rand_fraction();
            s.microburst_outflow = (30.0f + 60.0f * UTIL_rand_fraction()) * UNIT.kts_to_mps;
            s.microburst_downdraft = (2000.0f + 6000.0f * UTIL_rand_fraction()) * UNIT.fpm_to_mps;
            if (warns_of_wind_shear()) SOUND_play(SOUND_WIND_SHEAR, 0, 1.0f, 1.0f);
        }
    }
    s.microburst_wind[0] = s.microburst_wind[1] = s.microburst_wind[2] = 0.0f;
    s.microburst_active = 0;
    if (s.microburst_kind == 0) return;

    const float span = s.microburst_end - s.microburst_start;
    const float q = span != 0.0f ? (now - s.microburst_start) / span : 0.5f;
    float a = 0.0f, v = 0.0f;
    if (s.microburst_kind == 1) a = std::sin(PI_FLOAT * q);
    if (s.microburst_kind == 2) a = -std::sin(PI_FLOAT * q);
    if (s.microburst_kind == 3) {
        a = std::sin(2.0f * PI_FLOAT * q);
        v = (std::cos(2.0f * PI_FLOAT * q) - 1.0f) * 0.5f;
    }
    const float psi = f.psi * DEG_TO_RAD_FLOAT;
    s.microburst_wind[0] = -s.microburst_outflow * a * std::sin(psi);
    s.microburst_wind[1] = s.microburst_downdraft * v;
    s.microburst_wind[2] = s.microburst_outflow * a * std::cos(psi);
    s.microburst_active = 1;
    if (now > s.microburst_end) s.microburst_kind = 0;
}

void WEATHER_smooth_wind()
{
    const float dt = sim_operation_misc.frame_rate_period;
    for (int k = 0; k < 3; ++k) wind_vector[k] = (1.0f - dt) * wind_vector[k] + dt * (gust_vector[k] + weather_stage.microburst_wind[k]);
    // The wind at the plane is published under the same names as the wind
    // layers' direction and speed; it is kept in words of its own, since writing
    // it into the layer words would replace layer 0's wind (knots) with the
    // plane's smoothed wind (m/s) every frame. The speed stays in m/s as stored.
    float dir = std::atan2(-wind_vector[0], wind_vector[2]) * RAD_TO_DEG_FLOAT;
    if (dir < 0.0f) dir += 360.0f;
    sim_weather.wind_direction_at_plane_degt = dir;
    sim_weather.wind_speed_at_plane_ms =
        std::min(std::sqrt(wind_vector[0] * wind_vector[0] + wind_vector[2] * wind_vector[2]), 999.0f);
}

void WEATHER_precipitation()
{
    sim_weather_block& w = sim_weather;
    const flt_struct& f = flt[0];
    const float elev = f.elevation;
    float in_cloud = 0.0f, precip = 0.0f;
    for (int k = 0; k < CLOUD_LAYERS; ++k) {
        if (w.cloud_type[k] != CLOUD_OVERCAST) continue;
        const float base = w.cloud_base_msl_m[k], tops = w.cloud_tops_msl_m[k];
        const float middle = 0.5f * (base + tops);
        if (base <= elev && elev <= tops)
            in_cloud = elev < middle ? std::sqrt(UTIL_clamp(0.5f + 0.5f * (elev - base) / 152.4f, 0.5f, 1.0f))
                                     : std::sqrt(clamp01((tops - elev) / 152.4f));
        if (elev < tops)
            precip = w.rain_percent * clamp01((tops - sim_graphics_view.view_elevation_m_msl) / 304.8f);
    }

    const int cx = std::clamp(ATMO_storm_cell_x(f.local_x), 0, STORM_GRID_DIM - 1);
    const int cz = std::clamp(ATMO_storm_cell_z(f.local_z), 0, STORM_GRID_DIM - 1);
    float sum = 0.0f;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dz = -2; dz <= 2; ++dz) {
            const int x = std::clamp(cx + dx, 0, STORM_GRID_DIM - 1);
            const int z = std::clamp(cz + dz, 0, STORM_GRID_DIM - 1);
            sum += storm_grid[x * STORM_GRID_DIM + z];
        }
    weather_stage.storm_level = in_cloud * (sum / 25.0f) * w.thunderstorm_percent;

    const float T = w.temperature_ambient_c;
    w.precip_rain = precip * clamp01((T + 1.0f) * 0.5f);
    w.precip_snow = precip * clamp01((1.0f - T) * 0.5f);
    w.precip_hail = 0.0f;
    if (weather_stage.storm_level > 0.5f) {
        const float h = clamp01((weather_stage.storm_level - 0.5f) * 2.0f);
        w.precip_rain *= 1.0f - h;
        w.precip_snow *= 1.0f - h;
        w.precip_hail = precip * h;
    }
    // The windshield sweeps up the drops, flakes and stones in the air ahead of
    // it at the speed it moves through that air, so the impacts per second grow
    // with the share of precipitation (whichever kind it falls as) times the
    // true airspeed: one impact per 50 m flown through full precipitation. The
    // windshield is marked only above half an impact a second, so a full
    // downpour marks it from 25 m/s (about 49 kt), a quarter share from 100 m/s.
    constexpr float IMPACTS_PER_METRE = 0.02f;
    weather_stage.windshield_impact_rate =
        (w.precip_rain + w.precip_snow + w.precip_hail) * std::fabs(f.true_airspeed) * IMPACTS_PER_METRE;
}

void WEATHER_lightning_strike(float distance_nm, float bearing_rad)
{
    weather_stage_state& s = weather_stage;
    const flt_struct& f = flt[0];
    s.lightning_distance = distance_nm;
    const float x = f.local_x + distance_nm * std::sin(bearing_rad) * UNIT.nm_to_mtrs;
    const float z = f.local_z - distance_nm * std::cos(bearing_rad) * UNIT.nm_to_mtrs;
    if (!(sim_weather.thunderstorm_percent * storm_grid[storm_cell(x, z)] > 0.2f)) return;

    const int layer = current_cloud_layer();
    float start[3] = {x, 0.5f * (sim_weather.cloud_base_msl_m[layer] + sim_weather.cloud_tops_msl_m[layer]), z};
    for (int b = 0; b < LIGHTNING_BOLTS; ++b) {
        float(*bolt)[3] = s.lightning_bolts[b];
        if (b > 0)
            for (int k = 0; k < 3; ++k) start[k] = s.lightning_bolts[b - 1][13][k];
        for (int k = 0; k < 3; ++k) bolt[0][k] = start[k];
        const float step = 0.05f * start[1];
        for (int p = 1; p < LIGHTNING_BOLT_POINTS; ++p) {
            bolt[p][0] = bolt[p - 1][0] + (UTIL_rand_fraction() - 0.5f) * step;
            bolt[p][1] = bolt[p - 1][1] - (UTIL_rand_fraction() + 0.5f) * step;
            bolt[p][2] = bolt[p - 1][2] + (UTIL_rand_fraction() - 0.5f) * step;
        }
    }
    s.lightning_flash_end = frame_clock + 0.4f + 0.4f * UTIL_rand_fraction();
    const float loudness = distance_nm > 0.0f ? 5.0f / distance_nm : 1.0f;
    if (loudness > 0.3f) {
        const float level = std::min(loudness, 1.0f);
        SOUND_play(SOUND_THUNDER, 0, level, level);
    }
}

void WEATHER_lightning()
{
    weather_stage_state& s = weather_stage;
    if (one_second() && sim_weather.thunderstorm_percent > 0.0f && sim_weather.temperature_sealevel_c > 0.0f) {
        const float d = 30.0f * UTIL_rand_fraction();
        const float beta = 2.0f * PI_FLOAT * UTIL_rand_fraction();
        WEATHER_lightning_strike(d, beta);
    }
    s.lightning_flash = frame_clock < s.lightning_flash_end && interval_ticks[INTERVAL_TENTH_SECOND] != 0 ? 1 : 0;
}

void SYSTEMS_weather_at_plane()
{
    WEATHER_real_weather();
    WEATHER_drift();
    if (one_second()) WEATHER_wind_sample();
    WEATHER_microburst();
    WEATHER_smooth_wind();
    WEATHER_precipitation();
    WEATHER_lightning();
}
