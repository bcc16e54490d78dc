#include "HeifLibrary.h"

#include "JpegLoader.h"

#include <QString>

#include <dlfcn.h>

namespace {
constexpr const char* LibraryName = "libheif.so.1";

template <class F> bool Resolve(void* library, const char* symbol, F& function) {
    function = reinterpret_cast<F>(dlsym(library, symbol));
    return function != nullptr;
}
} // namespace

bool THeifLibrary::Load() {
    void* library = dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        return false;
    }
    const bool complete =
        Resolve(library, "heif_init", Init) && Resolve(library, "heif_check_filetype", CheckFiletype) &&
        Resolve(library, "heif_context_alloc", ContextAlloc) &&
        Resolve(library, "heif_context_free", ContextFree) &&
        Resolve(library, "heif_context_set_maximum_image_size_limit", ContextSetMaximumImageSizeLimit) &&
        Resolve(library, "heif_context_read_from_memory_without_copy", ContextReadFromMemoryWithoutCopy) &&
        Resolve(library, "heif_context_get_primary_image_handle", ContextGetPrimaryImageHandle) &&
        Resolve(library, "heif_image_handle_get_width", ImageHandleGetWidth) &&
        Resolve(library, "heif_image_handle_get_height", ImageHandleGetHeight) &&
        Resolve(library, "heif_image_handle_has_alpha_channel", ImageHandleHasAlphaChannel) &&
        Resolve(library, "heif_image_handle_release", ImageHandleRelease) &&
        Resolve(library, "heif_decoding_options_alloc", DecodingOptionsAlloc) &&
        Resolve(library, "heif_decoding_options_free", DecodingOptionsFree) &&
        Resolve(library, "heif_decode_image", DecodeImage) &&
        Resolve(library, "heif_image_get_plane_readonly", ImageGetPlaneReadonly) &&
        Resolve(library, "heif_image_get_width", ImageGetWidth) &&
        Resolve(library, "heif_image_get_height", ImageGetHeight) &&
        Resolve(library, "heif_image_release", ImageRelease);
    if (!complete) {
        dlclose(library);
        return false;
    }
    Init(nullptr); // kept open for the rest of the run, like a linked library
    return true;
}

const THeifLibrary* THeifLibrary::Find() {
    static const THeifLibrary* const loaded = [] {
        static THeifLibrary library;
        return library.Load() ? &library : nullptr;
    }();
    return loaded;
}

const THeifLibrary& THeifLibrary::Get(const QString& picture) {
    const THeifLibrary* library = Find();
    if (!library) {
        throw EPictureError(QStringLiteral("Cannot read the picture \"%1\": the HEIC/HEIF library %2 is not "
                                           "installed")
                                .arg(picture, QLatin1String(LibraryName)));
    }
    return *library;
}
