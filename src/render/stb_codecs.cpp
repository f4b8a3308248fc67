// The one place the stb picture writer is compiled: BMP and TGA, to memory. Pictures are read by
// decoders of our own (bmp_decoder.cpp, tga_decoder.cpp), which refuse files cut short.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop
