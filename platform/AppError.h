#pragma once

#include <QString>

#include <exception>

// The program's one failure type: a number from a fixed catalogue in the classic BASIC
// style, its description and the name of the component that raised it. Handlers show
// these three to the user ("An error #53 occured: File not found"), so every failure,
// whatever its origin, is translated into the catalogue where it arises.
class AppError : public std::exception
{
public:
    enum Number : int
    {
        InvalidArgument = 5,
        Overflow = 6,
        OutOfMemory = 7,
        DivisionByZero = 11,
        TypeMismatch = 13,
        BadFileName = 52,
        FileNotFound = 53,
        DeviceIOError = 57,
        FileAlreadyExists = 58,
        DiskFull = 61,
        InputPastEndOfFile = 62,
        TooManyFiles = 67,
        PermissionDenied = 70,
        DiskNotReady = 71,
        PathFileAccessError = 75,
        PathNotFound = 76,
        InvalidPropertyValue = 380,
        InvalidPicture = 481,
    };

    explicit AppError(Number number, QString source = DefaultSource);
    AppError(int number, QString description, QString source);

    // Maps an operating-system error code (errno) onto the catalogue.
    static AppError fromErrno(int errorCode, QString source = DefaultSource);

    // The catalogue's text for a number; empty for a number it does not hold.
    static QString describe(int number);

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }
    const char *what() const noexcept override { return m_what.constData(); }

    static inline const QString DefaultSource = QStringLiteral("Morlend");

private:
    int m_number;
    QString m_description;
    QString m_source;
    QByteArray m_what;
};
