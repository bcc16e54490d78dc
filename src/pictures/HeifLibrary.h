#pragma once

#include <QString>

#include <libheif/heif.h>

// libheif, opened when a HEIC file is first read: linked at start it and the codecs it brings cost
// every start of the program several milliseconds, for a kind of file most households never fetch.
class THeifLibrary {
public:
    // The opened library; throws EPictureError naming the picture when it cannot be opened.
    static const THeifLibrary& Get(const QString& picture);
    // Whether the library can be opened, without an error: a file is only taken for HEIC if it is.
    static const THeifLibrary* Find();

    decltype(&heif_init) Init = nullptr;
    decltype(&heif_check_filetype) CheckFiletype = nullptr;
    decltype(&heif_context_alloc) ContextAlloc = nullptr;
    decltype(&heif_context_free) ContextFree = nullptr;
    decltype(&heif_context_set_maximum_image_size_limit) ContextSetMaximumImageSizeLimit = nullptr;
    decltype(&heif_context_read_from_memory_without_copy) ContextReadFromMemoryWithoutCopy = nullptr;
    decltype(&heif_context_get_primary_image_handle) ContextGetPrimaryImageHandle = nullptr;
    decltype(&heif_image_handle_get_width) ImageHandleGetWidth = nullptr;
    decltype(&heif_image_handle_get_height) ImageHandleGetHeight = nullptr;
    decltype(&heif_image_handle_has_alpha_channel) ImageHandleHasAlphaChannel = nullptr;
    decltype(&heif_image_handle_release) ImageHandleRelease = nullptr;
    decltype(&heif_decoding_options_alloc) DecodingOptionsAlloc = nullptr;
    decltype(&heif_decoding_options_free) DecodingOptionsFree = nullptr;
    decltype(&heif_decode_image) DecodeImage = nullptr;
    decltype(&heif_image_get_plane_readonly) ImageGetPlaneReadonly = nullptr;
    decltype(&heif_image_get_width) ImageGetWidth = nullptr;
    decltype(&heif_image_get_height) ImageGetHeight = nullptr;
    decltype(&heif_image_release) ImageRelease = nullptr;

private:
    THeifLibrary() = default;
    bool Load();
};
