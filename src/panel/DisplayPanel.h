#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// What the rules of a ride ask of the display panel, so they run without its window: a video
// renderer or a test stands in for it.
class DisplayPanel {
public:
    // Fare position n (1 to 61) shows the value: a number, or a text (the route number).
    virtual void setFare(int position, const QVariant& value) = 0;
    // The stop-name strip shows the name from its start; empty clears it.
    virtual void setStripName(const QString& name) = 0;
    // The names the strip is to show on this route, to be made ready while nothing waits on it.
    virtual void prepareStripNames(const QStringList& names) { Q_UNUSED(names) }
    // Every segment of every fare position lit.
    virtual void lampTest() = 0;
    // Every fare position and the clock dark.
    virtual void blank() = 0;
    // The clock goes on again where the model shows one.
    virtual void unblank() = 0;

protected:
    ~DisplayPanel() = default;
};
