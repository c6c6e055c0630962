#pragma once

#include <QString>

#include <exception>

// The program's one failure type: a number from a fixed catalogue in the classic BASIC
// style, its description and the name of the component that raised it. Handlers show
// these three to the user ("An error #53 occured: File not found"), so every failure,
// whatever its origin, is translated into the catalogue where it arises. A failure the system
// reported keeps the system's own error code beside them, which the catalogue's number cannot
// tell apart (EACCES and EROFS are both "Permission denied").
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

    // Maps an operating-system error code (errno) onto the catalogue, keeping the code.
    static AppError fromErrno(int errorCode, QString source = DefaultSource);
    // A failure the system reported as errorCode, which the catalogue names number where it
    // arose (a missing folder above a folder being made is "Path not found").
    static AppError fromSystem(Number number, int errorCode);

    // The catalogue's text for a number; empty for a number it does not hold.
    static QString describe(int number);

    int number() const { return m_number; }
    const QString &description() const { return m_description; }
    const QString &source() const { return m_source; }
    // The system's error code (errno) this failure came from; 0 when it came from elsewhere.
    int systemError() const { return m_systemError; }
    const char *what() const noexcept override { return m_what.constData(); }

    static inline const QString DefaultSource = QStringLiteral("Morlend");

private:
    int m_number;
    QString m_description;
    QString m_source;
    int m_systemError = 0;
    QByteArray m_what;
};
