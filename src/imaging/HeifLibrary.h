#pragma once
// libheif, loaded with the first HEIF or AVIF file rather than with the
// program: its decoders set themselves up as it loads, a third of what the
// show did before its backdrop came up. Its header gives the types and the
// functions' signatures; the functions come from the library found at run time.

#include <libheif/heif.h>

namespace vz::picture::heif {

#define VZ_HEIF_FUNCTIONS(X)                                                                                      \
    X(heif_check_filetype) X(heif_context_alloc) X(heif_context_free) X(heif_context_get_primary_image_handle)    \
    X(heif_context_read_from_memory_without_copy) X(heif_context_set_maximum_image_size_limit) X(heif_decode_image) \
    X(heif_image_get_height) X(heif_image_get_plane_readonly) X(heif_image_get_width)                             \
    X(heif_image_handle_get_color_profile_type) X(heif_image_handle_get_height)                                    \
    X(heif_image_handle_get_list_of_metadata_block_IDs) X(heif_image_handle_get_list_of_thumbnail_IDs)            \
    X(heif_image_handle_get_luma_bits_per_pixel) X(heif_image_handle_get_metadata)                                 \
    X(heif_image_handle_get_metadata_size) X(heif_image_handle_get_nclx_color_profile)                            \
    X(heif_image_handle_get_number_of_thumbnails) X(heif_image_handle_get_raw_color_profile)                      \
    X(heif_image_handle_get_raw_color_profile_size) X(heif_image_handle_get_thumbnail)                            \
    X(heif_image_handle_get_width) X(heif_image_handle_has_alpha_channel) X(heif_image_handle_release)            \
    X(heif_image_is_premultiplied_alpha) X(heif_image_release) X(heif_nclx_color_profile_free)

struct Library {
#define VZ_HEIF_POINTER(name) decltype(&::name) name = nullptr;
    VZ_HEIF_FUNCTIONS(VZ_HEIF_POINTER)
#undef VZ_HEIF_POINTER
};

// The library's functions, loaded on the first call (from any thread); null
// where the library or one of them is missing, with a warning once.
const Library *library();

} // namespace vz::picture::heif
