#include "tests/support/ScopedFailingClose.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Failure
{
    QByteArray path;
    off_t keeps = 0;
    std::atomic<int> failures {0};
};

std::atomic<Failure *> armed {nullptr};

using CloseFunction = int (*)(int);

// Looked up once, as the program starts: a child that QProcess starts shares the program's
// memory until it runs its program, and closes descriptors meanwhile, where a first look-up (a
// lock, an allocation) would hang or fail it.
std::atomic<CloseFunction> next {nullptr};

CloseFunction systemClose()
{
    CloseFunction found = next.load();
    if (!found) {
        found = reinterpret_cast<CloseFunction>(::dlsym(RTLD_NEXT, "close"));
        next.store(found);
    }
    return found;
}

const bool lookedUpAtStart = systemClose() != nullptr;

bool names(int descriptor, const QByteArray &path)
{
    char link[32];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    char target[PATH_MAX];
    const ssize_t length = ::readlink(link, target, sizeof target);
    return length == path.size() && std::memcmp(target, path.constData(), path.size()) == 0;
}

} // namespace

// Found before the C library's by every call in the program, Qt's included.
extern "C" int close(int descriptor)
{
    Failure *failure = armed.load();
    struct stat status
    {
    };
    if (failure && names(descriptor, failure->path) && ::fstat(descriptor, &status) == 0
        && S_ISREG(status.st_mode) && status.st_size > failure->keeps
        && ::ftruncate(descriptor, failure->keeps) == 0) {
        systemClose()(descriptor);
        ++failure->failures;
        errno = EDQUOT;
        return -1;
    }
    return systemClose()(descriptor);
}

ScopedFailingClose::ScopedFailingClose(const QByteArray &path, off_t keeps)
{
    armed.store(new Failure {path, keeps});
}

ScopedFailingClose::~ScopedFailingClose()
{
    delete armed.exchange(nullptr);
}

int ScopedFailingClose::failures() const
{
    return armed.load()->failures.load();
}
