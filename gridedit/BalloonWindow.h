#pragma once
// The balloon tooltip window of a grid: our own top-most Qt::ToolTip window that
// shows a title with an icon and a text in a rounded frame, after the initial delay, and hides
// itself after the automatic hide delay. One window per grid, made by BalloonInit and destroyed
// by BalloonDone.
#include <QString>
#include <QTimer>
#include <QWidget>

class TBalloonWindow : public QWidget {
public:
    explicit TBalloonWindow(QWidget* Owner);
    ~TBalloonWindow() override;

    // Delays in milliseconds; -1 leaves the platform's (500 initial, 100 reshow, 5000 hide).
    void SetInitialDelay(int ms) { FInitialDelay = ms < 0 ? 500 : ms; }
    void SetReshowDelay(int ms) { FReshowDelay = ms < 0 ? 100 : ms; }
    void SetAutoHideDelay(int ms) { FAutoHideDelay = ms < 0 ? 5000 : ms; }
    int InitialDelay() const { return FInitialDelay; }
    int ReshowDelay() const { return FReshowDelay; }
    int AutoHideDelay() const { return FAutoHideDelay; }
    // Opacity Alpha out of 255 (255 - Transparency of the settings).
    void SetLayeredAlpha(int Alpha);
    // The tool's title with its icon (0 none, 1 information, 2 warning, 3 error; others 0).
    void SetTitle(const QString& Title, int Icon);
    QString Title() const { return FTitle; }
    int Icon() const { return FIcon; }
    QString Text() const { return FText; }
    void SetColors(QColor Background, QColor TextColor);
    // Shows Text (with the title set before) with the balloon's tip at the global point, at once
    // when Now, else after the initial (or reshow, while one is shown) delay.
    void Popup(const QPoint& Tip, const QString& Text, bool Now);
    // The tooltip's pop message: hides the balloon and cancels a pending show.
    void Pop();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowPending();
    QString FTitle;
    QString FText;
    int FIcon = 0;
    int FInitialDelay = 500;
    int FReshowDelay = 100;
    int FAutoHideDelay = 5000;
    QColor FBackground;
    QColor FTextColor;
    QPoint FTip;
    QTimer FShowTimer;
    QTimer FHideTimer;
};
