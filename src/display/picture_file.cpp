#include "display/picture_file.h"

#include <fcntl.h>
#include <spng.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/log.h"
#include "core/program.h"
#include "vxtools/display.h"

namespace vx {

namespace {

thread_local std::string pictureError;

struct Palette {
    std::vector<std::uint32_t> colours;
    std::vector<std::uint8_t> indices;  // one per pixel
};

// The image's colours in order of first appearance, and each pixel's index; false above 256 colours.
bool CollectPalette(const WindowImage& image, Palette& palette) {
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    palette.indices.resize(count);
    std::uint32_t previous = 0;
    std::uint8_t previousIndex = 0;
    bool havePrevious = false;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t word = image.pixels[i];
        // Runs of one colour are the rule in these pictures, so the last answer is tried first.
        if (!havePrevious || word != previous) {
            std::size_t k = 0;
            while (k < palette.colours.size() && palette.colours[k] != word) ++k;
            if (k == palette.colours.size()) {
                if (k == 256) return false;
                palette.colours.push_back(word);
            }
            previous = word;
            previousIndex = std::uint8_t(k);
            havePrevious = true;
        }
        palette.indices[i] = previousIndex;
    }
    return true;
}

int PaletteDepth(std::size_t colours) {
    if (colours <= 2) return 1;
    if (colours <= 4) return 2;
    if (colours <= 16) return 4;
    return 8;
}

// Rows packed as PNG wants them: the leftmost pixel in the high bits of a byte, rows start on a byte.
std::vector<std::uint8_t> PackIndices(const Palette& palette, int width, int height, int depth,
                                      std::size_t& rowBytes) {
    rowBytes = (std::size_t(width) * std::size_t(depth) + 7) / 8;
    std::vector<std::uint8_t> packed(rowBytes * std::size_t(height), 0);
    const int perByte = 8 / depth;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = palette.indices.data() + std::size_t(y) * std::size_t(width);
        std::uint8_t* dst = packed.data() + std::size_t(y) * rowBytes;
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - depth * (x % perByte + 1);
            dst[x / perByte] |= std::uint8_t(src[x] << shift);
        }
    }
    return packed;
}

std::vector<std::uint8_t> RgbBytes(const WindowImage& image) {
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    std::vector<std::uint8_t> rgb(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t word = image.pixels[i];
        rgb[3 * i] = std::uint8_t(word >> 16);
        rgb[3 * i + 1] = std::uint8_t(word >> 8);
        rgb[3 * i + 2] = std::uint8_t(word);
    }
    return rgb;
}

struct Encoder {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    ~Encoder() { spng_ctx_free(ctx); }
};

int Encode(const WindowImage& image, std::FILE* file) {
    Encoder encoder;
    if (encoder.ctx == nullptr) return SPNG_EMEM;
    int error = spng_set_png_file(encoder.ctx, file);
    if (error != 0) return error;
    spng_ihdr header{};
    header.width = std::uint32_t(image.width);
    header.height = std::uint32_t(image.height);
    std::vector<std::uint8_t> data;
    Palette palette;
    if (CollectPalette(image, palette)) {
        const int depth = PaletteDepth(palette.colours.size());
        header.bit_depth = std::uint8_t(depth);
        header.color_type = SPNG_COLOR_TYPE_INDEXED;
        spng_plte plte{};
        plte.n_entries = std::uint32_t(palette.colours.size());
        for (std::size_t k = 0; k < palette.colours.size(); ++k) {
            plte.entries[k].red = std::uint8_t(palette.colours[k] >> 16);
            plte.entries[k].green = std::uint8_t(palette.colours[k] >> 8);
            plte.entries[k].blue = std::uint8_t(palette.colours[k]);
        }
        std::size_t rowBytes = 0;
        data = PackIndices(palette, image.width, image.height, depth, rowBytes);
        if ((error = spng_set_ihdr(encoder.ctx, &header)) != 0) return error;
        if ((error = spng_set_plte(encoder.ctx, &plte)) != 0) return error;
        // Filters rarely help indexed rows; skipping the choice halves the time.
        spng_set_option(encoder.ctx, SPNG_FILTER_CHOICE, SPNG_DISABLE_FILTERING);
    } else {
        header.bit_depth = 8;
        header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
        data = RgbBytes(image);
        if ((error = spng_set_ihdr(encoder.ctx, &header)) != 0) return error;
    }
    return spng_encode_image(encoder.ctx, data.data(), data.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE);
}

}  // namespace

const std::string& PictureError() {
    return pictureError;
}

void SetPictureError(std::string reason) {
    pictureError = std::move(reason);
}

namespace {

// Saves under way and the temporary files they write, for quitting: it waits for them, and removes what
// is left of those it cannot wait for.
struct SavesInProgress {
    std::mutex mutex;
    std::set<std::string> temporaries;
    std::atomic<int> failures{0};
};

SavesInProgress& Saves() {
    static auto* saves = new SavesInProgress;  // outlives threads that may still save at exit
    return *saves;
}

std::atomic<unsigned> temporaryCounter{0};

// The reason for the user, from the error of the failed call.
const char* WriteFailure(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return "disk full";
        case EFBIG:
            return "file too large for the disk";
        case EACCES:
        case EPERM:
        case EROFS:
            return "not writable";
        case ENOENT:
        case ENOTDIR:
            return "folder not found";
        default:
            return "could not be written";
    }
}

// The file the picture replaces: the target of a symbolic link (the link stays a link), the path itself
// otherwise. Empty, with the reason, when the target must not be replaced.
std::string ReplacedFile(const std::string& path, std::string& refusal) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return path;
    std::string target = path;
    if (S_ISLNK(st.st_mode)) {
        char* resolved = ::realpath(path.c_str(), nullptr);
        if (resolved == nullptr) return path;  // a dangling link: replaced by the picture itself
        target = resolved;
        std::free(resolved);
        if (::stat(target.c_str(), &st) != 0) return target;
    }
    // Device nodes, pipes, sockets and folders are not pictures: writing would block, or destroy them.
    if (!S_ISREG(st.st_mode)) {
        refusal = S_ISDIR(st.st_mode) ? "is a folder" : "not a regular file";
        return "";
    }
    return target;
}

// Removes the temporary file and forgets it.
void DropTemporary(const std::string& temporary) {
    ::unlink(temporary.c_str());
    SavesInProgress& saves = Saves();
    std::lock_guard lock(saves.mutex);
    saves.temporaries.erase(temporary);
}

// Creates a new temporary file beside the target, with the permissions a new file there would get;
// -1 when that is impossible, with errno set.
int CreateTemporary(const std::string& target, std::string& temporary) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = folder + "." + name + "." + std::to_string(::getpid()) + "." +
                    std::to_string(temporaryCounter.fetch_add(1)) + ".tmp";
        // Registered before it exists, so that quitting can always remove it.
        {
            SavesInProgress& saves = Saves();
            std::lock_guard lock(saves.mutex);
            saves.temporaries.insert(temporary);
        }
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) return fd;
        const int error = errno;
        {
            SavesInProgress& saves = Saves();
            std::lock_guard lock(saves.mutex);
            saves.temporaries.erase(temporary);
        }
        errno = error;
        if (error != EEXIST) return -1;
    }
    return -1;
}

bool Refuse(const std::string& line, std::string reason) {
    Log(line);
    SetPictureError(std::move(reason));
    Saves().failures.fetch_add(1);
    return false;
}

}  // namespace

bool WritePng(const WindowImage& image, const std::string& path) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() < std::size_t(image.width) * std::size_t(image.height)) {
        Log("WritePng: Image is empty or incomplete.");
        SetPictureError("no picture");
        return false;
    }
    // A save that reaches the file-size limit must fail like one on a full disk, not end the process.
    static const bool ignoresSizeSignal = [] {
        struct sigaction current {};
        if (::sigaction(SIGXFSZ, nullptr, &current) == 0 && current.sa_handler == SIG_DFL)
            std::signal(SIGXFSZ, SIG_IGN);
        return true;
    }();
    (void)ignoresSizeSignal;

    std::string refusal;
    const std::string target = ReplacedFile(path, refusal);
    if (target.empty())
        return Refuse("WritePng: File " + path + " is not a regular file; nothing written.", refusal);
    const std::optional<struct stat> old = [&]() -> std::optional<struct stat> {
        struct stat st {};
        if (::stat(target.c_str(), &st) != 0) return std::nullopt;
        return st;
    }
    ();

    // The picture goes to a temporary file beside the target and takes the target's name only once it is
    // complete on disk: a failure or an interruption at any point leaves the old file as it was.
    std::string temporary;
    const int fd = CreateTemporary(target, temporary);
    if (fd < 0) {
        const int error = errno;
        return Refuse("WritePng: File " + path + " could not be opened (" + std::strerror(error) + ").",
                      WriteFailure(error));
    }
    if (old) ::fchmod(fd, old->st_mode & 07777);
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        ::close(fd);
        DropTemporary(temporary);
        return Refuse("WritePng: File " + path + " could not be opened (" + std::strerror(error) + ").",
                      WriteFailure(error));
    }
    errno = 0;
    const int encoded = Encode(image, file);
    int error = errno;
    const bool flushed = std::fflush(file) == 0 && ::fsync(fd) == 0;
    if (!flushed && error == 0) error = errno;
    const bool closed = std::fclose(file) == 0;
    if (!closed && error == 0) error = errno;
    if (encoded != 0 || !flushed || !closed) {
        DropTemporary(temporary);
        std::string detail = error != 0 ? std::strerror(error) : spng_strerror(encoded);
        return Refuse("WritePng: File " + path + " could not be written (" + detail + "); nothing changed.",
                      WriteFailure(error));
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        DropTemporary(temporary);
        return Refuse("WritePng: File " + path + " could not be replaced (" + std::strerror(error) +
                          "); nothing changed.",
                      WriteFailure(error));
    }
    {
        SavesInProgress& saves = Saves();
        std::lock_guard lock(saves.mutex);
        saves.temporaries.erase(temporary);
    }
    // The new name survives a power cut only once the folder is on disk too; the picture is safe either way.
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    SetPictureError("");
    return true;
}

bool WaitForPictureSaves(int millis, bool& failed) {
    SavesInProgress& saves = Saves();
    const int failuresBefore = saves.failures.load();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(millis);
    for (;;) {
        {
            std::lock_guard lock(saves.mutex);
            if (saves.temporaries.empty()) break;
            if (std::chrono::steady_clock::now() >= deadline) {
                // The old files stay; only the unfinished pictures go.
                for (const std::string& temporary : saves.temporaries) ::unlink(temporary.c_str());
                failed = true;
                return false;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    failed = saves.failures.load() != failuresBefore;
    return true;
}

bool SavePicture(std::uint8_t window, const std::string& path) {
    if (window >= 8) {
        Log("SavePicture: Window is not a graphic window.");
        SetPictureError("not a graphic window");
        return false;
    }
    // Composed where the views compose, so that it never races a view for the window's buffers.
    const std::shared_ptr<const WindowImage> image =
        OnUserInterfaceThread([window] { return t_WindowImage(window); });
    if (!image) {
        Log("SavePicture: Window #" + std::to_string(window) + " has no picture.");
        SetPictureError("no picture");
        return false;
    }
    return WritePng(*image, path);
}

}  // namespace vx
