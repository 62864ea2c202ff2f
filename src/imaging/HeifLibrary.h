#pragma once
// libheif, opened with the first HEIF or AVIF file instead of with the
// program: as it loads, it sets up its HEVC decoder, which took longer than
// anything else the show does before its backdrop is up. Its header still
// gives the types and every function's signature; the functions themselves
// are looked up in the library installed.

#include "common/Result.h"

#include <libheif/heif.h>

namespace vz::picture::heif {

// Every libheif function the decoders call.
#define VZ_HEIF_FUNCTIONS(X) \
    X(heif_check_filetype) \
    X(heif_context_alloc) \
    X(heif_context_free) \
    X(heif_context_get_primary_image_handle) \
    X(heif_context_read_from_memory_without_copy) \
    X(heif_context_set_maximum_image_size_limit) \
    X(heif_decode_image) \
    X(heif_image_get_height) \
    X(heif_image_get_plane_readonly) \
    X(heif_image_get_width) \
    X(heif_image_handle_get_color_profile_type) \
    X(heif_image_handle_get_height) \
    X(heif_image_handle_get_list_of_metadata_block_IDs) \
    X(heif_image_handle_get_list_of_thumbnail_IDs) \
    X(heif_image_handle_get_luma_bits_per_pixel) \
    X(heif_image_handle_get_metadata) \
    X(heif_image_handle_get_metadata_size) \
    X(heif_image_handle_get_nclx_color_profile) \
    X(heif_image_handle_get_number_of_thumbnails) \
    X(heif_image_handle_get_raw_color_profile) \
    X(heif_image_handle_get_raw_color_profile_size) \
    X(heif_image_handle_get_thumbnail) \
    X(heif_image_handle_get_width) \
    X(heif_image_handle_has_alpha_channel) \
    X(heif_image_handle_release) \
    X(heif_image_is_premultiplied_alpha) \
    X(heif_image_release) \
    X(heif_nclx_color_profile_free)

// The functions, each under its own name: heif.heif_decode_image(...).
struct Functions
{
#define VZ_HEIF_MEMBER(name) decltype(&::name) name = nullptr;
    VZ_HEIF_FUNCTIONS(VZ_HEIF_MEMBER)
#undef VZ_HEIF_MEMBER
};

// The library's functions, looked up on the first call from any thread and
// kept for the rest of the program; or, when the library or one of its
// functions is missing, why HEIF pictures cannot be shown (a sentence for the
// user, also logged once).
const Result<Functions> &library();

} // namespace vz::picture::heif
