#include "platform/IconvConverter.h"

namespace {

constexpr size_t Failed = static_cast<size_t>(-1);

} // namespace

IconvConverter::IconvConverter(const char *toCharset, const char *fromCharset)
    : m_descriptor(iconv_open(toCharset, fromCharset))
{
}

IconvConverter::~IconvConverter()
{
    if (isOpen())
        iconv_close(m_descriptor);
}

std::optional<QByteArray> IconvConverter::convert(QByteArrayView input)
{
    if (!isOpen())
        return std::nullopt;
    // Back to the initial state: what an earlier conversion left behind must not leak in.
    iconv(m_descriptor, nullptr, nullptr, nullptr, nullptr);

    // No set these pages convert to or from takes more than four bytes for a character, and
    // the end of a stateful set adds at most a few more.
    QByteArray output(input.size() * 4 + 16, Qt::Uninitialized);
    char *in = const_cast<char *>(input.data());
    size_t inLeft = input.size();
    char *out = output.data();
    size_t outLeft = output.size();
    if (iconv(m_descriptor, &in, &inLeft, &out, &outLeft) == Failed || inLeft != 0)
        return std::nullopt;
    if (iconv(m_descriptor, nullptr, nullptr, &out, &outLeft) == Failed)
        return std::nullopt;
    output.truncate(out - output.data());
    return output;
}
