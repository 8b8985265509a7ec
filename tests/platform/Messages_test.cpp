#include "platform/Messages.h"

#include <QCoreApplication>
#include <QObject>
#include <gtest/gtest.h>

using namespace platform;

namespace {

class Receiver : public QObject {
public:
    QList<QList<intptr_t>> Got;  // type, wParam, lParam

protected:
    bool event(QEvent* e) override
    {
        if (auto* m = dynamic_cast<TMessageEvent*>(e)) {
            Got.append({intptr_t(e->type()), m->WParam, m->LParam});
            m->Result = m->WParam + m->LParam;
            return true;
        }
        return QObject::event(e);
    }
};

} // namespace

TEST(Messages, RegisteredByNameAndPostedInOrder)
{
    const QEvent::Type done = RegisterWindowMessage("GridEditDone");
    const QEvent::Type shift = RegisterWindowMessage("DTPShiftFocus");
    EXPECT_EQ(RegisterWindowMessage("GridEditDone"), done);
    EXPECT_EQ(RegisterWindowMessage("grideditdone"), done);
    EXPECT_NE(done, shift);
    EXPECT_GT(int(done), int(QEvent::User));
    EXPECT_EQ(MessageEventType(WM_THEMENOTIFY), MessageEventType(2993));

    Receiver r;
    PostMessage(&r, done, 3, 7);
    PostMessage(&r, shift, 1, 2);
    PostMessage(nullptr, done, 0, 0);
    EXPECT_TRUE(r.Got.isEmpty());  // queued, not delivered at once
    QCoreApplication::sendPostedEvents(&r);
    ASSERT_EQ(r.Got.size(), 2);
    EXPECT_EQ(r.Got[0], (QList<intptr_t>{intptr_t(done), 3, 7}));
    EXPECT_EQ(r.Got[1][0], intptr_t(shift));
    EXPECT_EQ(SendMessage(&r, MessageEventType(WM_THEMENOTIFY), 40, 2), 42);
}
