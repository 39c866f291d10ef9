#include "start/ui/widgetuiservices.h"

#include "start/ui/frmerror.h"
#include "start/ui/frmpickone.h"
#include "start/ui/modaaltonen.h"

#include <QApplication>
#include <QDir>
#include <QColorDialog>
#include <QDateTime>
#include <QLocale>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTreeView>

namespace supplink {

QString ToQtFileFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A caption that shows its patterns already ("Productentabel (*.pt)") is taken as it is.
        const QString shown = QStringLiteral("(") + patterns + QLatin1Char(')');
        const QString caption = parts.at(i).trimmed();
        QString compact = caption;
        compact.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << (compact.endsWith(shown) ? caption : parts.at(i) + QLatin1Char(' ') + shown);
    }
    return filters.join(QStringLiteral(";;"));
}

int WidgetUiServices::messageBox(const QString& text, int style, const QString& title)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    box.setText(text);
    switch (MsgBox::icon(style)) {
    case MsgBox::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgBox::Question: box.setIcon(QMessageBox::Question); break;
    case MsgBox::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgBox::Information: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    struct Choice
    {
        QString caption;
        int result;
        QMessageBox::ButtonRole role;
    };
    QList<Choice> choices;
    const Choice ok{QStringLiteral("OK"), MsgBox::Ok, QMessageBox::AcceptRole};
    const Choice cancel{QStringLiteral("Annuleren"), MsgBox::Cancel, QMessageBox::RejectRole};
    const Choice yes{QStringLiteral("&Ja"), MsgBox::Yes, QMessageBox::YesRole};
    const Choice no{QStringLiteral("&Nee"), MsgBox::No, QMessageBox::NoRole};
    switch (MsgBox::buttons(style)) {
    case MsgBox::OkCancel: choices = {ok, cancel}; break;
    case MsgBox::AbortRetryIgnore:
        choices = {{QStringLiteral("&Afbreken"), MsgBox::Abort, QMessageBox::RejectRole},
                   {QStringLiteral("&Opnieuw"), MsgBox::Retry, QMessageBox::AcceptRole},
                   {QStringLiteral("&Negeren"), MsgBox::Ignore, QMessageBox::AcceptRole}};
        break;
    case MsgBox::YesNoCancel: choices = {yes, no, cancel}; break;
    case MsgBox::YesNo: choices = {yes, no}; break;
    case MsgBox::RetryCancel:
        choices = {{QStringLiteral("&Opnieuw"), MsgBox::Retry, QMessageBox::AcceptRole}, cancel};
        break;
    default: choices = {ok}; break;
    }
    QList<QPushButton*> buttons;
    for (const Choice& c : choices)
        buttons << box.addButton(c.caption, c.role);
    const int defaultIndex = (style & MsgBox::DefaultButton3) ? 2 : (style & MsgBox::DefaultButton2) ? 1 : 0;
    if (defaultIndex < buttons.size())
        box.setDefaultButton(buttons.at(defaultIndex));
    box.exec();
    const int index = static_cast<int>(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
    if (index < 0) // closed by Escape or the window's close button
        return choices.size() > 1 ? choices.back().result : choices.front().result;
    return choices.at(index).result;
}

std::optional<QString> WidgetUiServices::inputBox(const QString& prompt, const QString& title,
                                                  const QString& defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(QApplication::activeWindow(), title, prompt, QLineEdit::Normal,
                                               defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

namespace {

// Qt's own file dialog opens small enough to cut the size, type and date columns of a file list;
// give it room for them, but never more than the screen it opens on. The name column takes what the
// other columns leave.
void GeefRuimte(QFileDialog& dialog)
{
    QSize size = dialog.sizeHint().expandedTo(QSize(820, 480));
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableSize());
    dialog.resize(size);
    if (auto* lijst = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        QHeaderView* kop = lijst->header();
        const QFontMetrics maat(lijst->font());
        const int ruimte = maat.horizontalAdvance(QLatin1Char('0'));
        if (kop->count() >= 4) {
            kop->resizeSection(1, 10 * ruimte + 16);
            kop->resizeSection(2, 16 * ruimte + 16);
            // The date as the file list writes it, or the column's title when that is wider.
            const QString datum = QLocale::system().toString(QDateTime(QDate(2000, 12, 30), QTime(20, 0, 0)),
                                                             QLocale::ShortFormat);
            const QString titel = kop->model()->headerData(3, Qt::Horizontal).toString();
            kop->resizeSection(3, qMax(maat.horizontalAdvance(datum), maat.horizontalAdvance(titel)) + 24);
        }
        kop->setSectionResizeMode(0, QHeaderView::Stretch);
    }
}

} // namespace

QStringList WidgetUiServices::fileDialog(const FileDialogRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialFolder,
                       ToQtFileFilter(request.filter));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile
                                    : (request.multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile));
    if (!request.defaultExtension.isEmpty())
        dialog.setDefaultSuffix(request.defaultExtension);
    if (!request.initialFile.isEmpty())
        dialog.selectFile(request.initialFile);
    GeefRuimte(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    QStringList chosen;
    for (const QString& path : dialog.selectedFiles())
        chosen << QDir::toNativeSeparators(path);
    return chosen;
}

std::optional<QString> WidgetUiServices::browseForFolder(const QString& title, const QString& startFolder)
{
    QFileDialog dialog(QApplication::activeWindow(), title, startFolder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    GeefRuimte(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

std::optional<QColor> WidgetUiServices::chooseColor(const QColor& initial)
{
    const QColor color = QColorDialog::getColor(initial, QApplication::activeWindow());
    if (!color.isValid())
        return std::nullopt;
    return color;
}

std::optional<qint32> WidgetUiServices::pickOne(const PickOneRequest& request)
{
    frmSelecteerGroepofLeverancier dialog;
    dialog.SetUitleg(request.explanation);
    dialog.SetOnderdeel(request.label);
    dialog.setWindowTitle(request.title);
    dialog.VulLijst(request.entries);
    ToonModaal(dialog);
    if (!dialog.OKGekozen)
        return std::nullopt;
    return dialog.GeselecteerdID();
}

void WidgetUiServices::showErrorWindow(const ErrorWindowContent& content)
{
    frmError window(QApplication::activeWindow());
    window.SetImage(content.picture);
    window.setMessage(content.message);
    window.setDetails(content.details);
    window.exec();
}

} // namespace supplink
