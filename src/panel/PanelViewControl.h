#pragma once

#include "panel/PanelView.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <array>

class Form1;
class QAction;
class QMenu;
class QScreen;

// The display panel's own menu (right button) and keys for how it is shown: its scale, full
// screen on a chosen screen and the colour around it there. Each choice is kept in the view
// file at once and shown again on the next start.
class PanelViewControl : public QObject {
    Q_OBJECT
public:
    PanelViewControl(Form1& form, QString viewFile);

    // Shows the panel as the view file says: once its window has its place.
    void apply();
    const PanelView& view() const { return view_; }
    // Rebuilt each time it opens: the screens may have changed.
    QMenu& menu() const { return *menu_; }

private:
    QAction* addKeyAction(const QString& name, const QString& text,
                          const QList<QKeySequence>& keys);
    void fillMenu();
    void choose(const PanelView& view);
    void show();
    void showWindow();
    int windowScale() const;
    QString currentScreen() const;
    void chooseScale(int scale);
    void chooseOtherColour();
    void screenRemoved();

    Form1& form_;
    QString viewFile_;
    PanelView view_;
    // The screen the panel is full screen on now, which may differ from the one asked for.
    QString fullScreenOn_;
    QPointer<QScreen> fullScreenScreen_;
    QMenu* menu_;
    std::array<QAction*, PanelView::kMaxScale + 1> scaleActions_{};
    QAction* fit_;
    QAction* leave_;
    std::array<quint32, 17> customColours_{};
};
