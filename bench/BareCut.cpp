// The floor under Morlend's cutting run: the same files made with the same system calls, each
// piece a new file that the kernel fills from the source in the program's steps
// (copy_file_range), and nothing else, no window, no progress, no join script. compare.sh times
// it beside the real run, so that what the window costs and what the machine's file writing
// costs can be told apart.

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As platform/FileCopy.cpp steps.
constexpr long long KernelStep = 8 * 1024 * 1024;

int fail(const std::string &what)
{
    std::fprintf(stderr, "bare_cut: %s: %s\n", what.c_str(), std::strerror(errno));
    return 1;
}

bool copyWhole(int source, int piece, long long size)
{
    while (size > 0) {
        const ssize_t done = ::copy_file_range(source, nullptr, piece, nullptr,
                                               size_t(std::min(size, KernelStep)), 0);
        if (done <= 0)
            return false;
        size -= done;
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: bare_cut SOURCE PIECE_SIZE DESTINATION_FOLDER\n");
        return 2;
    }
    const std::string sourcePath = argv[1];
    const long long pieceSize = std::atoll(argv[2]);
    const std::string folder = argv[3];
    if (pieceSize <= 0) {
        std::fprintf(stderr, "bare_cut: the piece size must be positive\n");
        return 2;
    }

    const int source = ::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (source < 0)
        return fail(sourcePath);
    const off_t sourceSize = ::lseek(source, 0, SEEK_END);
    if (sourceSize < 0 || ::lseek(source, 0, SEEK_SET) < 0)
        return fail(sourcePath);
    if (::mkdir(folder.c_str(), 0777) < 0 && errno != EEXIST)
        return fail(folder);

    const std::string prefix = folder + '/' + sourcePath.substr(sourcePath.rfind('/') + 1) + '.';
    long long left = sourceSize;
    for (long long index = 1; left > 0; ++index) {
        const long long size = std::min<long long>(pieceSize, left);
        const std::string piecePath = prefix + std::to_string(index);
        const int piece
            = ::open(piecePath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (piece < 0 || !copyWhole(source, piece, size) || ::close(piece) < 0)
            return fail(piecePath);
        left -= size;
    }
    return 0;
}
