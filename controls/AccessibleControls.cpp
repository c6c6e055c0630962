#include "controls/AccessibleControls.h"

#include "controls/AccessiblePButton.h"
#include "controls/AccessiblePictureBox.h"
#include "controls/PButton.h"
#include "controls/PictureBox.h"

#include <QAccessible>

using namespace Qt::StringLiterals;

namespace {

// Qt asks with each class name of the object in turn, its own first, so a subclass of ours
// gets the interface of the class it derives from.
QAccessibleInterface *interfaceFor(const QString &className, QObject *object)
{
    if (className == u"PButton"_s) {
        if (auto *button = qobject_cast<PButton *>(object))
            return new AccessiblePButton(button);
    } else if (className == u"PictureBox"_s) {
        if (auto *box = qobject_cast<PictureBox *>(object))
            return new AccessiblePictureBox(box);
    }
    return nullptr;
}

} // namespace

namespace AccessibleControls {

void install()
{
    static const bool installed = (QAccessible::installFactory(&interfaceFor), true);
    Q_UNUSED(installed);
}

} // namespace AccessibleControls
