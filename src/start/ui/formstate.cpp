#include "start/ui/formstate.h"

#include "start/registryfuncties.h"
#include "start/sharedroutines.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace supplink {

void CentreerForm(QWidget* window)
{
    if (!window)
        return;
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    window->move(area.x() + (area.width() - window->width()) / 2, area.y() + (area.height() - window->height()) / 2);
}

bool LoadFormState(QWidget* window, const QString& keyName)
{
    if (!window)
        return false;
    const QString key = keyName.isEmpty() ? window->objectName() : keyName;
    const QString section = QStringLiteral("Windows");
    const auto read = [&](const QString& name) {
        return NzLong(CurrentUser_HaalOp(section, name + key, QStringLiteral("-1")));
    };
    const qint32 left = read(QStringLiteral("Left"));
    const qint32 top = read(QStringLiteral("Top"));
    const qint32 width = read(QStringLiteral("Width"));
    const qint32 height = read(QStringLiteral("Heigth"));
    if (static_cast<qint64>(left) + top + width + height == -4)
        return false;
    if (!window->isMaximized())
        window->setGeometry(TwipsNaarPixels(left), TwipsNaarPixels(top), TwipsNaarPixels(width),
                            TwipsNaarPixels(height));
    return true;
}

void SaveFormState(QWidget* window, const QString& keyName)
{
    if (!window || window->isMinimized() || window->isMaximized())
        return;
    const QString key = keyName.isEmpty() ? window->objectName() : keyName;
    const QString section = QStringLiteral("Windows");
    const QRect g = window->geometry();
    CurrentUser_BrengWeg(section, QStringLiteral("Width") + key, QString::number(PixelsNaarTwips(g.width())));
    CurrentUser_BrengWeg(section, QStringLiteral("Heigth") + key, QString::number(PixelsNaarTwips(g.height())));
    CurrentUser_BrengWeg(section, QStringLiteral("Left") + key, QString::number(PixelsNaarTwips(g.x())));
    CurrentUser_BrengWeg(section, QStringLiteral("Top") + key, QString::number(PixelsNaarTwips(g.y())));
}

} // namespace supplink
