#include "platform/FileCopy.h"

#include "platform/AppError.h"
#include "platform/File.h"
#include "platform/WriteSlice.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
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

// What a step to or from a disk aims to take, in nanoseconds: the caller looks up between two,
// and a window that answers within half a second has time to spare.
constexpr qint64 StepTime = 100 * 1000 * 1000;
// A page: a step to or from a disk moves no less.
constexpr qint64 ShortestDiskStep = 4096;

// The length of the next step of a transfer to or from a disk, from the speed of the steps
// before: each is as long as the disk moves in StepTime, growing at most twofold a step, so
// that a disk that slows down holds no step much longer.
class DiskStep
{
public:
    explicit DiskStep(qint64 longest)
        : m_longest(longest)
    {
    }

    qint64 length() const { return m_length; }
    void start() { m_timer.start(); }
    // The step moved bytes since start.
    void moved(qint64 bytes)
    {
        const qint64 took = std::max<qint64>(m_timer.nsecsElapsed(), 1);
        const qint64 atPace = qint64(double(bytes) * double(StepTime) / double(took));
        m_length = std::clamp(atPace, ShortestDiskStep, std::min(2 * m_length, m_longest));
    }

private:
    qint64 m_longest;
    qint64 m_length = ShortestDiskStep;
    QElapsedTimer m_timer;
};

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

FileCopy::Result FileCopy::copyOntoDisk(File &source, File &target, qint64 size,
                                        const AfterStep &afterStep)
{
    if (m_buffer.isEmpty())
        m_buffer.resize(BufferSize);
    const qint64 page = ::sysconf(_SC_PAGESIZE);
    DiskStep step(m_buffer.size());
    bool pushes = true;
    Result result;
    while (result.copied < size) {
        step.start();
        const qint64 read
            = source.read(m_buffer.data(), std::min(step.length(), size - result.copied));
        if (read == 0)
            return result;
        for (qint64 written = 0; written < read; written += page)
            target.write(m_buffer.constData() + written, std::min(page, read - written));
        pushes = pushes && pushToDisk(target, result.copied, read);
        step.moved(read);
        result.copied += read;
        if (!afterStep(result.copied) && result.copied < size) {
            result.stopped = true;
            return result;
        }
    }
    return result;
}

bool FileCopy::pushToDisk(File &target, qint64 offset, qint64 length)
{
    while (::sync_file_range(target.m_descriptor, offset, length,
                             SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE
                                 | SYNC_FILE_RANGE_WAIT_AFTER)
           != 0) {
        if (errno == EINVAL || errno == ESPIPE || errno == ENOSYS || errno == EOPNOTSUPP)
            return false;
        if (errno != EINTR)
            throw AppError::fromErrno(errno);
    }
    return true;
}

FileCopy::Comparison FileCopy::compare(File &expected, File &written, qint64 size,
                                       const AfterStep &afterStep)
{
    // What the system kept of the file in its cache is what was handed to it, not what the disk
    // holds: it goes, and no more than each step asks for is read ahead of it.
    ::posix_fadvise(written.m_descriptor, 0, 0, POSIX_FADV_DONTNEED);
    ::posix_fadvise(written.m_descriptor, 0, 0, POSIX_FADV_RANDOM);
    if (m_buffer.isEmpty())
        m_buffer.resize(BufferSize);
    const qint64 half = m_buffer.size() / 2;
    char *const fromDisk = m_buffer.data() + half;
    DiskStep step(half);
    Comparison comparison;
    for (qint64 done = 0; done < size;) {
        const qint64 length = std::min(step.length(), size - done);
        step.start();
        qint64 read = 0;
        try {
            read = written.read(fromDisk, length);
        } catch (const AppError &error) {
            comparison.same = false;
            comparison.unreadable = error.description();
            return comparison;
        }
        step.moved(read);
        if (read != length || expected.read(m_buffer.data(), length) != length
            || std::memcmp(m_buffer.constData(), fromDisk, size_t(length)) != 0) {
            comparison.same = false;
            return comparison;
        }
        done += length;
        if (!afterStep(done) && done < size) {
            comparison.stopped = true;
            return comparison;
        }
    }
    return comparison;
}
