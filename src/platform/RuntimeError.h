#pragma once

#include <QString>
#include <exception>

// A failure inside a procedure, carried to the handler that reports it. The numbers follow the
// run-time error numbering users know from the original unit's software (53 file not found,
// 481 invalid picture, ...), so messages that show a number stay comparable.
class RuntimeError : public std::exception {
public:
    enum Number {
        InvalidProcedureCall = 5,
        Overflow = 6,
        OutOfMemory = 7,
        SubscriptOutOfRange = 9,
        DivisionByZero = 11,
        TypeMismatch = 13,
        OutOfStackSpace = 28,
        InternalError = 51,
        BadFileName = 52,
        FileNotFound = 53,
        FileAlreadyOpen = 55,
        DeviceIoError = 57,
        DiskFull = 61,
        InputPastEndOfFile = 62,
        DeviceUnavailable = 68,
        PermissionDenied = 70,
        PathFileAccessError = 75,
        PathNotFound = 76,
        InvalidFileFormat = 321,
        InvalidPropertyValue = 380,
        InvalidPicture = 481,
    };

    explicit RuntimeError(int number);
    RuntimeError(int number, QString description);

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override;

    // The description we give a number when the failure brings none of its own.
    static QString describe(int number);

    // An index of a control array or table outside lower..upper is error 9.
    static void checkSubscript(int index, int lower, int upper);

private:
    int number_;
    QString description_;
    QByteArray what_;
};
