#include "BacklightMessage.h"

#include "platform/RuntimeError.h"

namespace {

QString explanation(int errorNumber) {
    switch (errorNumber) {
    case RuntimeError::OutOfMemory:
    case RuntimeError::OutOfStackSpace:
    case RuntimeError::InternalError:
        return QStringLiteral("　内部的なエラーです。Harrowgateへ報告してください。"
                              "エラー場所：frmCtl.Option4_Click()");
    case RuntimeError::FileNotFound:
    case RuntimeError::PathFileAccessError:
    case RuntimeError::PathNotFound:
        return QStringLiteral("　画像ファイルが見つからないか、指定している場所が不正です。");
    case RuntimeError::DeviceIoError:
    case RuntimeError::DeviceUnavailable:
        return QStringLiteral("　デバイスエラーもしくは準備が出来ていません。");
    case RuntimeError::InvalidPicture:
        return QStringLiteral("　指定した画像の内容が不正です。この部分では扱えません。");
    default:
        return {};
    }
}

} // namespace

QString backlightErrorText(int errorNumber) {
    return QStringLiteral("エラーです。\n\nエラーコード：") + QString::number(errorNumber) +
           explanation(errorNumber);
}
