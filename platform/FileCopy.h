#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

class File;

// Copies bytes from one open file to another, each from its current position on, in steps, so
// that whoever copies a piece of any size can look up between two steps. The kernel copies file
// to file where the system allows it (copy_file_range): the bytes never pass through the
// program. Where it refuses (another file system, FUSE, an old kernel), they pass through
// buffer, sized at the first such step to a fixed length whatever is copied. For a disk that is
// taken out afterwards, each step of the copy is put on the disk before the next, and the copy
// is read back from the disk.
//
// A step is bounded in time as well as in length: each kind of step (a copy in the kernel, a
// read, a write, a step onto a disk, one read back from it) takes as many bytes as the steps of
// its kind before went through in a tenth of a second, so that the one who looks up between
// steps does so several times a second on a disk of any speed. A floppy writes some 40 KiB a
// second, and a piece that the system took at once in its cache would otherwise hold the caller
// for half a minute at its flush. The first steps of a copier are short and grow while they go
// fast.
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
    // Copies size bytes, each step's onto the target's disk before the next step: the system
    // holds no more of the file in its cache than a step, which neither its own writeback nor
    // a wait for the disk then turns into a wait for the whole file. The bytes are written a
    // page a call, since the system caches a write in folios as large as the call and writes a
    // folio out whole. The caller flushes the file afterwards, which writes the file system's
    // own records, and all of the file where the system cannot write a part of a file alone.
    Result copyOntoDisk(File &source, File &target, qint64 size, const AfterStep &afterStep);

    struct Comparison
    {
        bool same = true;
        bool stopped = false;
        // Why written could not be read back (the catalogue's description), when it could not.
        QString unreadable;
    };
    // Reads the first size bytes of written back from its disk, not from the system's cache,
    // and compares them with the next size bytes of expected, in steps; afterStep gets the bytes
    // compared so far. A difference, written ending early or failing to be read ends it as not
    // the same; a failure to read expected raises the matching AppError.
    Comparison compare(File &expected, File &written, qint64 size, const AfterStep &afterStep);
    // Whether the kernel has copied so far (false once it refused).
    bool copiesInTheKernel() const { return m_inKernel; }

private:
    // The length of the next step of one kind, from how fast the last one went.
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

    // Runs step, which moves some bytes (at most the length it is given) and returns how many,
    // timed for pace.
    template<typename Step> qint64 timed(Pace &pace, Step step);
    // One step through the kernel: the bytes moved, 0 at the end of the source, -1 when the
    // system refuses to copy these two files so.
    qint64 kernelStep(File &source, File &target, qint64 size);
    // One step through the buffer.
    qint64 bufferedStep(File &source, File &target, qint64 size, const AfterStep &afterStep,
                        qint64 copiedBefore, bool &stopped);
    // Puts the length bytes of target that begin at offset on its disk; false when the system
    // cannot write a part of a file alone.
    static bool pushToDisk(File &target, qint64 offset, qint64 length);

    bool m_inKernel = true;
    QByteArray &m_buffer;
    Clock m_clock;
    Pace m_kernelPace;
    Pace m_readPace;
    Pace m_writePace;
    Pace m_ontoDiskPace;
    Pace m_readBackPace;
};
