// Stand-in of the data groups until the data table is built: mode 1 fills the
// record's group index with empty values; every call is recorded.
#include "links/dataout.h"

#include <string>

#include "links/calls_standin.h"

data_record net_data_snd[NET_DATA_ROWS] = {};
int32_t dataout_any_disk_group = 0;

namespace {
constexpr int GROUP_COUNT = 107;
constexpr float EMPTY_VALUE = -999.0f;
}  // namespace

void DATAOUT_group(int mode, int group, int row)
{
    links_standin_calls.push_back("DATAOUT_group(" + std::to_string(mode) + "," + std::to_string(group) + "," +
                                  std::to_string(row) + ")");
    if (group < 0 || group >= GROUP_COUNT) return;
    if (mode == 1 && row >= 0 && row < NET_DATA_ROWS) {
        net_data_snd[row].group = group;
        for (float& v : net_data_snd[row].values) v = EMPTY_VALUE;
    }
}
