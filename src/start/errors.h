#pragma once
// The program-wide error reporter. Routines that can fail catch what went
// wrong and hand it, with their own name ("clsBron.Save" or a bare routine
// name), to ShowError, which shows the error window.

#include "platform/uiservices.h"

#include <QString>
#include <exception>
#include <stdexcept>

namespace supplink {

// An error with a number and a description, as database providers and the
// program's own routines raise them.
class AppError : public std::runtime_error
{
public:
    AppError(qint32 number, const QString& description);

    qint32 number() const { return m_number; }
    const QString& description() const { return m_description; }

    // Any exception as an AppError: an AppError keeps its number, anything
    // else gets a general number and its what() text.
    static AppError from(const std::exception& e);

private:
    qint32 m_number;
    QString m_description;
};

// Error numbers with a meaning of their own to the reporter.
namespace ErrorNumber {
constexpr qint32 IntegrityViolation = -2147217873; // 0x80040E2F
constexpr qint32 CommandError = -2147217900;       // 0x80040E14
constexpr qint32 InputError = 1;
constexpr qint32 General = 5; // invalid procedure call or argument
constexpr qint32 DialogCancelled = 32755;
// File errors of the reading routines.
constexpr qint32 InputPastEnd = 62; // a file ended before what had to be read
constexpr qint32 FileAccess = 75;   // a path or file that cannot be used
constexpr qint32 PathNotFound = 76;
} // namespace ErrorNumber

// What the error window shows for an error raised in the named routine; no
// value for error number 0, which shows no window.
std::optional<ErrorWindowContent> BuildErrorReport(const QString& routine, qint32 number,
                                                   const QString& description);

// Reports an error through the error window (never throws).
void ShowError(const QString& routine, const AppError& error);
void ShowError(const QString& routine, const std::exception& error);
void ShowError(const QString& routine, qint32 number, const QString& description);

// A critical message box with an OK button; an empty title means the program's title.
void ToonFout(const QString& message, const QString& title = QString());

} // namespace supplink
