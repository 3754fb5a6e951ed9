// stb_image's implementation for the i686 build, from the system's header: the system's
// compiled library is a Linux one.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
