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

// The most the kernel copies in one step: a step costs little beside its bytes.
constexpr qint64 KernelStep = 8 * 1024 * 1024;
// What one step through the buffer reads at most; it is written in the slices of WriteSlice.h,
// with a look up after each.
constexpr qint64 BufferSize = 1024 * 1024;

bool isRefusal(int error)
{
    // What the system answers when it cannot copy between these two files itself.
    return error == EXDEV || error == EINVAL || error == ENOSYS || error == EOPNOTSUPP
        || error == EBADF || error == ETXTBSY;
}

// What a step should take: the window is answered several times a second, well within the
// half second after which a screen reader's user takes it for dead.
constexpr qint64 StepNanoseconds = 100'000'000;
// The shortest step, a page of memory, and the one each kind of step starts with.
constexpr qint64 ShortestStep = 4096;

FileCopy::Clock steadyClock()
{
    QElapsedTimer timer;
    timer.start();
    return [timer] {
        return timer.nsecsElapsed();
    };
}

} // namespace

FileCopy::FileCopy(QByteArray &buffer)
    : m_buffer(buffer)
    , m_clock(steadyClock())
    , m_kernelPace(KernelStep)
    , m_readPace(BufferSize)
    , m_writePace(qint64(WriteSlice))
    , m_ontoDiskPace(BufferSize)
    , m_readBackPace(BufferSize / 2)
{
}

FileCopy::Pace::Pace(qint64 longest)
    : m_longest(longest)
    , m_next(ShortestStep)
{
}

void FileCopy::Pace::took(qint64 bytes, qint64 nanoseconds)
{
    if (nanoseconds > StepNanoseconds) {
        // As many whole pages as went through in the time a step should take.
        const qint64 fitting = qint64(double(bytes) * StepNanoseconds / double(nanoseconds));
        m_next = std::max(ShortestStep, fitting / ShortestStep * ShortestStep);
    } else if (nanoseconds < StepNanoseconds / 4 && bytes >= m_next) {
        m_next = std::min(m_longest, m_next * 2);
    }
}

template<typename Step> qint64 FileCopy::timed(Pace &pace, Step step)
{
    const qint64 start = m_clock();
    const qint64 moved = step(pace.next());
    if (moved > 0)
        pace.took(moved, m_clock() - start);
    return moved;
}

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
    return timed(m_kernelPace, [&](qint64 longest) -> qint64 {
        for (;;) {
            const ssize_t copied
                = ::copy_file_range(source.m_descriptor, nullptr, target.m_descriptor, nullptr,
                                    size_t(std::min(size, longest)), 0);
            if (copied >= 0)
                return copied;
            if (errno == EINTR)
                continue;
            if (isRefusal(errno))
                return -1;
            throw AppError::fromErrno(errno);
        }
    });
}

qint64 FileCopy::bufferedStep(File &source, File &target, qint64 size, const AfterStep &afterStep,
                              qint64 copiedBefore, bool &stopped)
{
    if (m_buffer.isEmpty())
        m_buffer.resize(BufferSize);
    const qint64 read = timed(m_readPace, [&](qint64 longest) {
        return source.read(m_buffer.data(), std::min(size, longest));
    });
    for (qint64 written = 0; written < read;) {
        written += timed(m_writePace, [&](qint64 longest) {
            const qint64 slice = std::min(read - written, longest);
            target.write(m_buffer.constData() + written, slice);
            return slice;
        });
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
    // Each file onto a disk starts again at a page: the disk may be another, and slower.
    m_ontoDiskPace = Pace(BufferSize);
    bool pushes = true;
    Result result;
    while (result.copied < size) {
        const qint64 read = timed(m_ontoDiskPace, [&](qint64 longest) {
            const qint64 read
                = source.read(m_buffer.data(), std::min(longest, size - result.copied));
            for (qint64 written = 0; written < read; written += page)
                target.write(m_buffer.constData() + written, std::min(page, read - written));
            pushes = pushes && pushToDisk(target, result.copied, read);
            return read;
        });
        if (read == 0)
            return result;
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
    char *const fromDisk = m_buffer.data() + m_buffer.size() / 2;
    m_readBackPace = Pace(BufferSize / 2);
    Comparison comparison;
    for (qint64 done = 0; done < size;) {
        qint64 length = 0;
        qint64 read = 0;
        try {
            read = timed(m_readBackPace, [&](qint64 longest) {
                length = std::min(longest, size - done);
                return written.read(fromDisk, length);
            });
        } catch (const AppError &error) {
            comparison.same = false;
            comparison.unreadable = error.description();
            return comparison;
        }
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
