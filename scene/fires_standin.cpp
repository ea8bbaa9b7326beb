// Stand-in of the forest fires until the scene's fires are built: the table
// the scene build fills, and no drawing.
#include "scene/fires.h"

fire_table_record fire_table{};
