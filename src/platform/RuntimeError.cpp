#include "RuntimeError.h"

#include <utility>

RuntimeError::RuntimeError(int number) : RuntimeError(number, describe(number)) {}

RuntimeError::RuntimeError(int number, QString description)
    : number_(number), description_(std::move(description)),
      what_(QStringLiteral("%1: %2").arg(number_).arg(description_).toUtf8()) {}

const char* RuntimeError::what() const noexcept {
    return what_.constData();
}

void RuntimeError::checkSubscript(int index, int lower, int upper) {
    if (index < lower || index > upper)
        throw RuntimeError(SubscriptOutOfRange);
}

QString RuntimeError::describe(int number) {
    switch (number) {
    case InvalidProcedureCall:
        return QStringLiteral("プロシージャの呼び出し、または引数が不正です。");
    case Overflow:
        return QStringLiteral("オーバーフローしました。");
    case OutOfMemory:
        return QStringLiteral("メモリが不足しています。");
    case SubscriptOutOfRange:
        return QStringLiteral("インデックスが有効範囲にありません。");
    case DivisionByZero:
        return QStringLiteral("0 で除算しました。");
    case TypeMismatch:
        return QStringLiteral("型が一致しません。");
    case OutOfStackSpace:
        return QStringLiteral("スタック領域が不足しています。");
    case InternalError:
        return QStringLiteral("内部エラーです。");
    case BadFileName:
        return QStringLiteral("ファイル名または番号が不正です。");
    case FileNotFound:
        return QStringLiteral("ファイルが見つかりません。");
    case FileAlreadyOpen:
        return QStringLiteral("ファイルは既に開かれています。");
    case DeviceIoError:
        return QStringLiteral("デバイス I/O エラーです。");
    case DiskFull:
        return QStringLiteral("ディスクがいっぱいです。");
    case InputPastEndOfFile:
        return QStringLiteral("ファイルの終わりを越えて読み込もうとしました。");
    case DeviceUnavailable:
        return QStringLiteral("デバイスが準備されていません。");
    case PermissionDenied:
        return QStringLiteral("書き込みできません。");
    case PathFileAccessError:
        return QStringLiteral("パス名またはファイル名が不正です。");
    case PathNotFound:
        return QStringLiteral("パスが見つかりません。");
    case InvalidFileFormat:
        return QStringLiteral("ファイル形式が不正です。");
    case InvalidPropertyValue:
        return QStringLiteral("プロパティの値が不正です。");
    case InvalidPicture:
        return QStringLiteral("ピクチャが不正です。");
    default:
        return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
    }
}
