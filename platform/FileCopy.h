#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <functional>

class File;

// Copies bytes from one open file to another, each from its current position on, in steps, so
// that whoever copies a piece of any size can look up between two steps. The kernel copies file
// to file where the system allows it (copy_file_range): the bytes never pass through the
// program. Where it refuses (another file system, FUSE, an old kernel), they pass through
// buffer, sized at the first such step to a fixed length whatever is copied.
//
// A step is bounded in time as well as in length: each takes as many bytes as the steps before
// it went through in a tenth of a second, so that the one who looks up between steps does so
// several times a second on a disk of any speed. The first steps of a copier are short and grow
// while they go fast.
class FileCopy
{
public:
    // Nanoseconds from some fixed moment on.
    using Clock = std::function<qint64()>;

    explicit FileCopy(QByteArray &buffer);

    // Tests time the steps with a clock of their own.
    void setClock(Clock clock) { m_clock = std::move(clock); }

    // Runs after each step with the bytes copied so far; false stops the copy there.
    using AfterStep = std::function<bool(qint64 copied)>;

    struct Result
    {
        // Fewer than asked for at the end of the source, or when a step stopped the copy.
        qint64 copied = 0;
        bool stopped = false;
    };

    // Copies size bytes; a failure raises the matching AppError.
    Result copy(File &source, File &target, qint64 size, const AfterStep &afterStep);
    // Whether the kernel has copied so far (false once it refused).
    bool copiesInTheKernel() const { return m_inKernel; }

private:
    // The length of the next step of one kind (a copy in the kernel, a read, a write), from how
    // fast the last one went.
    class Pace
    {
    public:
        explicit Pace(qint64 longest);
        qint64 next() const { return m_next; }
        // A step of bytes took nanoseconds.
        void took(qint64 bytes, qint64 nanoseconds);

    private:
        qint64 m_longest;
        qint64 m_next;
    };

    // Runs step, which moves some bytes and returns how many, timed for pace.
    template<typename Step> qint64 timed(Pace &pace, Step step);
    // One step through the kernel: the bytes moved, 0 at the end of the source, -1 when the
    // system refuses to copy these two files so.
    qint64 kernelStep(File &source, File &target, qint64 size);
    // One step through the buffer.
    qint64 bufferedStep(File &source, File &target, qint64 size, const AfterStep &afterStep,
                        qint64 copiedBefore, bool &stopped);

    bool m_inKernel = true;
    QByteArray &m_buffer;
    Clock m_clock;
    Pace m_kernelPace;
    Pace m_readPace;
    Pace m_writePace;
};
