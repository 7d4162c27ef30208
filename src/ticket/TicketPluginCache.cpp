#include "TicketPluginCache.h"

#include "ticket/TicketDrawing.h"

#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QPlainTextEdit>
#include <QRegion>
#include <utility>

// One look at the file's size and time tells whether it has changed since it was read.
const TicketPlugin* TicketPluginCache::loaded(const QString& path) {
    constexpr qsizetype kKept = 4;
    const QFileInfo file(path);
    auto kept = loaded_.find(path);
    if (kept == loaded_.end() || file.lastModified() != kept->modified ||
        file.size() != kept->size) {
        if (kept == loaded_.end() && loaded_.size() >= kKept)
            loaded_.clear();
        Result<TicketPlugin> read = readTicketPlugin(path);
        // A plug-in read again may take the old one's place: what was drawn with it is gone.
        drawn_ = {};
        kept = loaded_.insert(path, {file.lastModified(), file.size(),
                                     read ? std::optional(std::move(read).value()) : std::nullopt});
    }
    return kept->plugin ? &*kept->plugin : nullptr;
}

int TicketPluginCache::GetPlgInfo(const QString& plugin, PlgInfo& info) {
    const TicketPlugin* found = loaded(plugin);
    if (found == nullptr)
        return 0;
    info = found->info;
    return 1;
}

int TicketPluginCache::SetPlgComment(const QString& plugin, QPlainTextEdit& box) {
    const TicketPlugin* found = loaded(plugin);
    if (found == nullptr)
        return 0;
    box.setPlainText(found->comment);
    return 1;
}

int TicketPluginCache::SetCorpAddList(const QString& plugin, QComboBox& list) {
    const TicketPlugin* found = loaded(plugin);
    if (found == nullptr)
        return 0;
    const int chosen = list.currentIndex();
    list.addItems(found->companies);
    list.setCurrentIndex(chosen);
    return 1;
}

int TicketPluginCache::DrawSeiriken(const QString& plugin, QImage& target, const QString& stopName,
                                    const QString& dateText, const QString& timeText,
                                    qint32 routeNo, qint16 seiriNum, qint16 row,
                                    qint16 companyIndex) {
    const TicketPlugin* found = loaded(plugin);
    if (found == nullptr || target.isNull())
        return 0;
    const TicketValues values{stopName, dateText, timeText, routeNo, seiriNum, row, companyIndex};
    // What each element prints; boxes and lines print the same every time.
    QStringList printed;
    for (const TicketElement& element : found->elements)
        printed.append(element.kind == TicketElement::Kind::Barcode
                           ? ticketBarcodeData(found->info, element, values)
                       : element.kind == TicketElement::Kind::Line ||
                               element.kind == TicketElement::Kind::Box
                           ? QString()
                           : ticketElementText(*found, element, values));
    if (drawn_.plugin != found || drawn_.size != target.size() ||
        drawn_.format != target.format()) {
        drawTicket(*found, values, target);
        TicketTexts texts(*found, target.size());
        std::vector<QRect> reach;
        for (std::size_t i = 0; i < found->elements.size(); ++i)
            reach.push_back(ticketElementReach(*found, i, values, texts));
        drawn_ = {found,  target.size(),   target.format(), printed, std::move(reach),
                  target, std::move(texts)};
        return 1;
    }
    // Only where something prints otherwise is the ticket drawn again, all that lies there.
    QRegion changed;
    for (qsizetype i = 0; i < printed.size(); ++i)
        if (printed[i] != drawn_.printed[i]) {
            QRect& reach = drawn_.reach[std::size_t(i)];
            changed += reach;
            reach = ticketElementReach(*found, std::size_t(i), values, *drawn_.texts);
            changed += reach;
        }
    // Taken rather than shared, the kept ticket is drawn on where it is, not copied first.
    target = std::move(drawn_.picture);
    if (!changed.isEmpty()) {
        redrawTicket(*found, values, target, changed, drawn_.reach, *drawn_.texts);
        drawn_.printed = printed;
    }
    drawn_.picture = target;
    return 1;
}
