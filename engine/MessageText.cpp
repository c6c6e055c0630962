#include "engine/MessageText.h"

#include "platform/AppError.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace modMorlend {

QString lines(std::initializer_list<QString> each)
{
    return QStringList(each).join(LineEnd);
}

QString errorLines(const AppError &error)
{
    // "occured" is the message's own spelling, which users and their reports know it by.
    return lines(
        {u"An error #%1 occured:"_s.arg(QString::number(error.number())), error.description()});
}

} // namespace modMorlend
