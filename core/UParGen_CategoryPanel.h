#pragma once
// The category panel group of the parameters window: a vertically scrolling column of panels, each
// with a header (picture, caption, chevrons) that collapses and expands it. The group stacks its
// visible panels in the order of their tops, so a caller fixes the order by setting the tops.
#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QScrollArea>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class TCategoryPanelGroup;

class TCategoryPanel : public QWidget {
    Q_OBJECT
public:
    TCategoryPanel(TCategoryPanelGroup* group, const QString& name);

    TCategoryPanelGroup* Group() const { return FGroup; }

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& caption);

    // The panel's logical top within the group; the group stacks visible panels by it.
    int Top() const { return FTop; }
    void SetTop(int top);
    // The expanded height, header included.
    int Height() const { return FHeight; }
    void SetHeight(int height);

    bool Collapsed() const { return FCollapsed; }
    void SetCollapsed(bool collapsed);

    bool PanelVisible() const { return FPanelVisible; }
    void SetPanelVisible(bool visible);

    // The panel's place in the group's focus order.
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int order) { FTabOrder = order; }

    // Where the panel's controls live: the area under the header, coordinates from its top left.
    QWidget* Surface() const { return FSurface; }

    // The height the group gives the panel now (only the header while collapsed).
    int ShownHeight() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TCategoryPanelGroup* FGroup;
    QWidget* FSurface;
    QString FCaption;
    int FTop = 0;
    int FHeight = 200;
    int FTabOrder = 0;
    bool FCollapsed = false;
    bool FPanelVisible = true;
    // The pointer is on the header: the chevrons are drawn in the hot colour.
    bool FHot = false;
    void SetHot(bool hot);
};

class TCategoryPanelGroup : public QScrollArea {
    Q_OBJECT
public:
    explicit TCategoryPanelGroup(QWidget* parent = nullptr);

    static constexpr int HeaderHeight = 24;

    const std::vector<TCategoryPanel*>& Panels() const { return FPanels; }

    QColor PanelColor = QColor(0xF8, 0xF7, 0xED);
    QColor GradientColor = QColor(0xE7, 0xD8, 0xD8);
    QColor ChevronColor = QColor(0x60, 0x60, 0x60);
    QColor ChevronHotColor = Qt::red;
    QFont HeaderFont;
    // Header pictures: 0 while a panel is expanded, 1 while it is collapsed.
    QPixmap Pictures[2];

    // Places the visible panels one under the other in the order of their tops.
    void Arrange();

    // Runs for a wheel turn anywhere over the group; when not set the group scrolls itself.
    std::function<void(QWheelEvent*)> OnMouseWheel;

    // The visible panels as the group stacks them.
    std::vector<TCategoryPanel*> StackedPanels() const;

protected:
    friend class TCategoryPanel;
    void Register(TCategoryPanel* panel) { FPanels.push_back(panel); }
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QWidget* FContent;
    std::vector<TCategoryPanel*> FPanels;
    bool FArranging = false;
};
