#include "bank/libjpeg_entry.h"

#if BRZDOMAT_LIBJPEG_AT_FIRST_PICTURE
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <type_traits>
#endif

namespace brzdomat {

#if BRZDOMAT_LIBJPEG_AT_FIRST_PICTURE

namespace {

// libjpeg-turbo names its library by the API it offers, which the header states.
#define BRZDOMAT_STRINGIFY(value) #value
#ifdef _WIN32
#define BRZDOMAT_LIBRARY_NAME(version) "libjpeg-" BRZDOMAT_STRINGIFY(version) ".dll"
#else
#define BRZDOMAT_LIBRARY_NAME(version) "libjpeg.so." BRZDOMAT_STRINGIFY(version)
#endif
constexpr const char* LibraryName = BRZDOMAT_LIBRARY_NAME(JPEG_LIB_VERSION);

#ifdef _WIN32
// Found where the system loader would have found it: beside the program first.
HMODULE Open()
{
    return LoadLibraryA(LibraryName);
}
std::string OpenFailure()
{
    return std::string(LibraryName) + ": Windows error " + std::to_string(GetLastError());
}
template <typename Function> Function Resolve(HMODULE library, const char* name)
{
    // Through the one function type that any other converts to without a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}
#else
void* Open()
{
    return dlopen(LibraryName, RTLD_NOW | RTLD_LOCAL);
}
std::string OpenFailure()
{
    return dlerror();
}
template <typename Function> Function Resolve(void* library, const char* name)
{
    return reinterpret_cast<Function>(dlsym(library, name));
}
#endif

struct Loaded {
    LibJpeg Table {};
    std::string Failure;
};

Loaded Load()
{
    Loaded loaded;
    // Never closed: the decoder may run again at any time.
    auto library = Open();
    if (!library) {
        loaded.Failure = OpenFailure();
        return loaded;
    }
    LibJpeg& table = loaded.Table;
    const char* missing = nullptr;
    auto resolve = [&](const char* name, auto& function) {
        function = Resolve<std::remove_reference_t<decltype(function)>>(library, name);
        if (!function && !missing)
            missing = name;
    };
    resolve("jpeg_std_error", table.StdError);
    resolve("jpeg_CreateDecompress", table.CreateDecompress);
    resolve("jpeg_mem_src", table.MemSrc);
    resolve("jpeg_read_header", table.ReadHeader);
    resolve("jpeg_has_multiple_scans", table.HasMultipleScans);
    resolve("jpeg_start_decompress", table.StartDecompress);
    resolve("jpeg_crop_scanline", table.CropScanline);
    resolve("jpeg_read_scanlines", table.ReadScanlines);
    resolve("jpeg_abort_decompress", table.AbortDecompress);
    resolve("jpeg_destroy_decompress", table.DestroyDecompress);
    if (missing)
        loaded.Failure = std::string(LibraryName) + " lacks " + missing;
    return loaded;
}

} // namespace

const LibJpeg* LoadLibJpeg(std::string& why)
{
    // Loaded once, also when several threads decode at once (the picture checker's).
    static const Loaded loaded = Load();
    if (!loaded.Failure.empty()) {
        why = loaded.Failure;
        return nullptr;
    }
    return &loaded.Table;
}

#else

const LibJpeg* LoadLibJpeg(std::string&)
{
    static const LibJpeg linked { &jpeg_std_error, &jpeg_CreateDecompress, &jpeg_mem_src,
        &jpeg_read_header, &jpeg_has_multiple_scans, &jpeg_start_decompress, &jpeg_crop_scanline,
        &jpeg_read_scanlines, &jpeg_abort_decompress, &jpeg_destroy_decompress };
    return &linked;
}

#endif

} // namespace brzdomat
