#include "flightmodel/attitude.h"

#include <cmath>

#include "core/constants.h"
#include "core/numeric.h"
#include "core/simvars/operation.h"
#include "flightmodel/step_record.h"

void PHYS_euler_to_quat(float theta, float psi, float phi, float q[4])
{
    const double a = 0.5 * theta * DEG_TO_RAD_DOUBLE;
    const double b = 0.5 * psi * DEG_TO_RAD_DOUBLE;
    const double c = 0.5 * phi * DEG_TO_RAD_DOUBLE;
    const double sa = std::sin(a), ca = std::cos(a);
    const double sb = std::sin(b), cb = std::cos(b);
    const double sc = std::sin(c), cc = std::cos(c);
    q[0] = static_cast<float>(ca * cb * cc + sa * sb * sc);
    q[1] = static_cast<float>(ca * cb * sc - sa * sb * cc);
    q[2] = static_cast<float>(sa * cb * cc + ca * sb * sc);
    q[3] = static_cast<float>(ca * sb * cc - sa * cb * sc);
}

void PHYS_integrate_quat(float P, float Q, float R, float* theta, float* psi, float* phi, float q[4])
{
    const double k = 0.5 * FM_step_sec();
    double q0 = q[0], q1 = q[1], q2 = q[2], q3 = q[3];
    // Each line uses the components already advanced above it.
    q0 = q0 + k * (-P * q1 - Q * q2 - R * q3);
    q1 = q1 + k * (R * q2 + P * q0 - Q * q3);
    q2 = q2 + k * (Q * q0 - R * q1 + P * q3);
    q3 = q3 + k * (Q * q1 + R * q0 - P * q2);

    const double sum = q0 * q0 + q1 * q1 + q2 * q2 + q3 * q3;
    // A degenerate quaternion (zero or non-finite) restarts from level flight
    // rather than spreading NaN through the attitude.
    if (!(sum > 0.0) || !std::isfinite(sum)) {
        q0 = 1.0, q1 = q2 = q3 = 0.0;
    } else {
        const double n = std::sqrt(1.0 / sum);
        q0 *= n, q1 *= n, q2 *= n, q3 *= n;
    }
    q[0] = static_cast<float>(q0);
    q[1] = static_cast<float>(q1);
    q[2] = static_cast<float>(q2);
    q[3] = static_cast<float>(q3);

    const double heading = std::atan2(2.0 * (q0 * q3 + q1 * q2), q0 * q0 + q1 * q1 - q2 * q2 - q3 * q3);
    *psi = static_cast<float>(UTIL_wrap_between(heading * RAD_TO_DEG_DOUBLE, 0.0, 360.0));
    double s = 2.0 * (q1 * q3 - q0 * q2);
    s = s < -1.0 ? -1.0 : (s > 1.0 ? 1.0 : s);
    *theta = static_cast<float>(UTIL_wrap_pm180(-std::asin(s) * RAD_TO_DEG_DOUBLE));
    const double roll = std::atan2(2.0 * (q0 * q1 + q2 * q3), q0 * q0 - q1 * q1 - q2 * q2 + q3 * q3);
    *phi = static_cast<float>(UTIL_wrap_pm180(roll * RAD_TO_DEG_DOUBLE));
}

void PHYS_cache_attitude(flt_struct& f)
{
    f.sin_theta = std::sin(f.theta * DEG_TO_RAD_FLOAT);
    f.cos_theta = std::cos(f.theta * DEG_TO_RAD_FLOAT);
    f.track_sin = std::sin(f.psi * DEG_TO_RAD_FLOAT);
    f.track_cos = std::cos(f.psi * DEG_TO_RAD_FLOAT);
    f.sin_phi = std::sin(f.phi * DEG_TO_RAD_FLOAT);
    f.cos_phi = std::cos(f.phi * DEG_TO_RAD_FLOAT);
}
