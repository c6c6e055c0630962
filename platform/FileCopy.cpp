#include "platform/FileCopy.h"

#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/WriteSlice.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace {

// The most the kernel copies in one step. Long enough that a step costs little beside its
// bytes, short enough that the window is answered several times a second even on a slow disk.
constexpr qint64 KernelStep = 8 * 1024 * 1024;
// What one step through the buffer reads; it is written in the slices of WriteSlice.h, with a
// look up after each.
constexpr qint64 BufferSize = 1024 * 1024;

bool isRefusal(int error)
{
    // What the system answers when it cannot copy between these two files itself.
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP
        || error == EBADF || error == ETXTBSY;
}

} // namespace

FileCopy::Result FileCopy::copy(File &source, File &target, qint64 size, const AfterStep &afterStep)
{
    Result result;
    while (result.copied < size) {
        qint64 step = -1;
        if (m_inKernel) {
            step = kernelStep(source, target, size - result.copied);
            // The kernel may also have nothing to say for a file it cannot copy: the buffer
            // tells the end of the source from that.
            if (step <= 0)
                m_inKernel = false;
        }
        if (step <= 0) {
            step = bufferedStep(source, target, size - result.copied, afterStep, result.copied,
                                result.stopped);
            result.copied += step;
            if (step == 0 || result.stopped)
                return result;
            continue;
        }
        result.copied += step;
        // A stop asked for at the last step leaves the copy whole.
        if (!afterStep(result.copied) && result.copied < size) {
            result.stopped = true;
            return result;
        }
    }
    return result;
}

qint64 FileCopy::kernelStep(File &source, File &target, qint64 size)
{
    for (;;) {
        const ssize_t copied = ::copy_file_range(source.m_descriptor, nullptr, target.m_descriptor,
                                                 nullptr, size_t(std::min(size, KernelStep)), 0);
        if (copied >= 0)
            return copied;
        if (errno == EINTR)
            continue;
        if (isRefusal(errno))
            return -1;
        throw AppError::fromErrno(errno);
    }
}

qint64 FileCopy::bufferedStep(File &source, File &target, qint64 size, const AfterStep &afterStep,
                              qint64 copiedBefore, bool &stopped)
{
    if (m_buffer.isEmpty())
        m_buffer.resize(BufferSize);
    const qint64 read = source.read(m_buffer.data(), std::min(size, BufferSize));
    for (qint64 written = 0; written < read;) {
        const qint64 slice = std::min<qint64>(read - written, WriteSlice);
        target.write(m_buffer.constData() + written, slice);
        written += slice;
        if (!afterStep(copiedBefore + written) && written < size) {
            stopped = true;
            return written;
        }
    }
    return read;
}
