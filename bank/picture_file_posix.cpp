#include "bank/picture_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace brzdomat {

FileBytes ReadPictureFile(const std::string& path, std::size_t maxBytes)
{
    // Non-blocking so that a named pipe in place of the file cannot hold the program in open().
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0)
        return FileFailure(DecodeFailure::FileNotReadable, std::strerror(errno));
    struct Closer {
        int Descriptor;
        ~Closer() { ::close(Descriptor); }
    } closer { descriptor };

    struct stat status { };
    if (::fstat(descriptor, &status) != 0)
        return FileFailure(DecodeFailure::FileNotReadable, std::strerror(errno));
    if (!S_ISREG(status.st_mode))
        return FileFailure(DecodeFailure::FileNotReadable, "not a regular file");
    if (status.st_size < 0)
        return FileFailure(DecodeFailure::FileTooLarge, "file too large");

    return ReadBounded(static_cast<std::uint64_t>(status.st_size), maxBytes,
        [descriptor](std::uint8_t* into, std::size_t length, std::string& detail) -> long long {
            for (;;) {
                ssize_t count = ::read(descriptor, into, length);
                if (count >= 0)
                    return count;
                if (errno != EINTR) {
                    detail = std::strerror(errno);
                    return -1;
                }
            }
        });
}

void ReadPictureFileAhead(const std::string&, std::size_t)
{
}

bool HoldPictureFiles(const std::vector<std::string>&, std::size_t, std::function<void()>)
{
    return false;
}

void ForgetHeldPictureFiles()
{
}

} // namespace brzdomat
