// Image files: uncompressed 24-bit BMP and PNG read into the pixel buffer,
// uncompressed 24-bit BMP written from it.
//
// Both readers scale the image by the factor of OGL_tex_scale_for_res while
// reading and can place it at (x, y) inside a wider picture (row stride in
// texels). Every texel written is checked against the pixel buffer.
#pragma once

#include <cstddef>
#include <cstdint>

// The BMP header: 54 bytes, little-endian.
constexpr int BMP_HEADER_SIZE = 54;

// Reads "<path minus its last four characters>.bmp". The path buffer (at least
// 500 bytes) is changed in place. Returns 1 when read, 0 when the file cannot
// be opened or is empty (or is damaged and left out, below); a bad file is a
// fatal alert.
int BMP_read_file(char* path, int slot, int kind, int bytes_per_texel, int type, int& out_width,
                  int& out_height, int x, int y, int& out_row_stride);
// While soft is set (a picture the program can go without), a file that
// cannot be read (empty, cut short, random bytes, refused by a rule of its format) is
// named in one notice and read as no file (0), and OGL_image_damage_found says
// so until the next call; otherwise such a file is a fatal alert that names it.
void OGL_image_damage_soft(bool soft);
bool OGL_image_damage_found();
// The same for "<path minus its last four characters>.png".
int PNG_read_file(char* path, int slot, int kind, int bytes_per_texel, int& out_width, int& out_height, int x,
                  int y, int& out_row_stride);
// Writes the first width x height texels of the pixel buffer (packed R, G, B,
// row 0 at the bottom) as a 24-bit BMP. The buffer is left in B, G, R order.
// The bytes go to "<path>.partial", renamed over the path once complete. A
// file that cannot be written (no folder, a full disk) leaves any old file of
// the name as it was and raises a notice naming the path; false then.
bool BMP_write_file(const char* path, int width, int height);
// The same picture written as a new file that never replaces one: under
// "<stem><n><suffix>" for the first n above `number` whose name no file has
// at the moment the complete file is placed (another copy writing into the
// same folder at the same moment included). `number` becomes the n taken.
// A failed write raises the same notice and returns false; its number is
// used up all the same, as a taken one would be.
bool BMP_write_new_numbered_file(const char* stem, const char* suffix, int32_t& number, int width, int height);

// The bytes of a 24-bit BMP header for an image of the given size.
void BMP_make_header(uint8_t header[BMP_HEADER_SIZE], int width, int height);
// Bytes of one stored row of a 24-bit BMP (3 x width rounded up to a multiple of 4).
size_t BMP_row_bytes(int width);
