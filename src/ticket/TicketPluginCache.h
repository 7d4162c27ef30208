#pragma once

#include "platform/KvRes.h"
#include "ticket/TicketDrawing.h"
#include "ticket/TicketPlugin.h"

#include <QDateTime>
#include <QHash>
#include <QImage>
#include <QStringList>
#include <optional>
#include <vector>

// The ticket plug-ins the resource library's plug-in calls read and draw. A plug-in file is read
// once and kept while its path, size and modification time stay the same, so drawing the ticket
// at every step reads nothing; the few files last asked about are kept. The ticket last drawn is
// kept too, with what each element printed and its texts' fonts and measures: a step draws again
// only the elements that print something else, and what they reach.
class TicketPluginCache : public KvRes::TicketPlugins {
public:
    int GetPlgInfo(const QString& plugin, PlgInfo& info) override;
    int SetPlgComment(const QString& plugin, QPlainTextEdit& box) override;
    int SetCorpAddList(const QString& plugin, QComboBox& list) override;
    int DrawSeiriken(const QString& plugin, QImage& target, const QString& stopName,
                     const QString& dateText, const QString& timeText, qint32 routeNo,
                     qint16 seiriNum, qint16 row, qint16 companyIndex) override;

private:
    struct Loaded {
        QDateTime modified;
        qint64 size = -1;
        std::optional<TicketPlugin> plugin;
    };
    // The plug-in, or nullptr when its file is not one.
    const TicketPlugin* loaded(const QString& path);

    struct Drawn {
        const TicketPlugin* plugin = nullptr;
        QSize size;
        QImage::Format format = QImage::Format_Invalid;
        QStringList printed;
        std::vector<QRect> reach;
        QImage picture;
        std::optional<TicketTexts> texts;
    };

    QHash<QString, Loaded> loaded_;
    Drawn drawn_;
};
