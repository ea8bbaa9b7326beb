// The cloud field's anchor: the point the cloud layers are laid out about,
// kept inside the loaded area (local metres), with the field's half-extents.
#pragma once

struct cloud_field_point_record {
    float x, y, z;
    float half_x, half_z;   // 0 while there is no field
};
extern cloud_field_point_record cloud_field_point;
