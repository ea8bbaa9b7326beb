// What a plug-in manager's registration call receives from the program: each
// published data name with its accessors, collected by `capture_data_ref`,
// the registration call the tests and benchmarks put in the host's entries.
#pragma once

#include <map>
#include <string>

#include "links/plugin_host.h"

inline std::map<std::string, ORPM_data_ref> captured_data_refs;

inline int capture_data_ref(const char* name, int type, int writable, ORPM_get_int_fn gi, ORPM_set_int_fn si,
                            ORPM_get_float_fn gf, ORPM_set_float_fn sf, ORPM_get_double_fn gd, ORPM_set_double_fn sd,
                            ORPM_get_int_array_fn gia, ORPM_set_int_array_fn sia, ORPM_get_float_array_fn gfa,
                            ORPM_set_float_array_fn sfa, ORPM_get_bytes_fn gb, ORPM_set_bytes_fn sb, void* rc, void* wc)
{
    captured_data_refs[name] =
        ORPM_data_ref{nullptr, type, writable, gi, si, gf, sf, gd, sd, gia, sia, gfa, sfa, gb, sb, rc, wc};
    return 1;
}
