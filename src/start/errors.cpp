#include "start/errors.h"

#include "start/globals.h"

namespace supplink {

AppError::AppError(qint32 number, const QString& description)
    : std::runtime_error(description.toStdString()), m_number(number), m_description(description)
{
}

AppError AppError::from(const std::exception& e)
{
    if (const auto* app = dynamic_cast<const AppError*>(&e))
        return *app;
    return AppError(ErrorNumber::General, QString::fromLocal8Bit(e.what()));
}

std::optional<ErrorWindowContent> BuildErrorReport(const QString& routine, qint32 number,
                                                   const QString& description)
{
    const QString crlf = QStringLiteral("\r\n");
    ErrorWindowContent report;
    report.caption = QString::fromUtf8(kProgramTitle);
    if (number == ErrorNumber::IntegrityViolation) {
        report.message =
            QStringLiteral("De huidige actie kan niet worden uitgevoerd wegens restricties in de database!") + crlf +
            QStringLiteral("Als u een onderdeel probeert te verwijderen dan lukt dit niet omdat het nog wordt "
                           "gebruikt in een andere tabel.") +
            crlf +
            QStringLiteral("Als u een nieuw onderdeel probeert op te slaan dan lukt dit niet omdat er onderdelen "
                           "niet zijn ingevuld.");
        report.details = QStringLiteral("Procedure = ") + routine + crlf + QStringLiteral("Error = ") + description;
        report.picture = 1;
    } else if (number == ErrorNumber::CommandError || number == ErrorNumber::InputError) {
        report.message = QStringLiteral("Invoer onjuist!") + crlf + description;
        report.picture = 3;
    } else if (number == 0) {
        // No pending error: there is nothing to show.
        return std::nullopt;
    } else {
        report.message = QStringLiteral("Er is een fout opgetreden!") + crlf +
                         QStringLiteral("Noteer deze informatie of maak een schermafdruk als u contact opneemt "
                                        "met de support afdeling.");
        report.details = QStringLiteral("Procedure = ") + routine + crlf + QStringLiteral("Error = ") +
                         QString::number(number) + QStringLiteral(": ") + description;
        report.picture = 1;
    }
    return report;
}

void ShowError(const QString& routine, qint32 number, const QString& description)
{
    try {
        if (const auto report = BuildErrorReport(routine, number, description))
            ui().showErrorWindow(*report);
    } catch (const std::exception& e) {
        ToonFout(QStringLiteral("Error in module modSharedConnectie.ShowError: ") + QString::fromLocal8Bit(e.what()));
    }
}

void ShowError(const QString& routine, const AppError& error)
{
    ShowError(routine, error.number(), error.description());
}

void ShowError(const QString& routine, const std::exception& error) { ShowError(routine, AppError::from(error)); }

void ToonFout(const QString& message, const QString& title)
{
    ui().messageBox(message, MsgBox::OkOnly | MsgBox::Critical,
                    title.isEmpty() ? QString::fromUtf8(kProgramTitle) : title);
}

} // namespace supplink
