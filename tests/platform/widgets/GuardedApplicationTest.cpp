#include "platform/widgets/GuardedApplication.h"

#include "DialogHooksGuard.h"
#include "platform/base/Exception.h"
#include "platform/widgets/Application.h"
#include "platform/widgets/GraphicControl.h"
#include "platform/widgets/MessageDialogs.h"

#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

namespace {

// The error boxes the application shows, answered at once, and whether one opened while
// a paint was under way.
class GuardedApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(dynamic_cast<TGuardedApplication*>(QCoreApplication::instance()), nullptr);
        TApplication::Instance().OnException = nullptr;
        TApplication::Instance().SetTitle(QStringLiteral("Guarded"));
        MessageAnswerer = [this](TMessageRequest& request) {
            EXPECT_EQ(request.Kind, mkError);
            EXPECT_EQ(request.Caption, QStringLiteral("Guarded"));
            Boxes << request.Text;
            if (OnBox)
                OnBox();
            return true;
        };
    }

    TDialogHooksGuard FHooks;
    QStringList Boxes;
    std::function<void()> OnBox;
};

// A control whose paint fails with bad_alloc while Failing is set, as the allocation
// of a large surface does.
class TFailingPaint : public TGraphicControl {
public:
    using TGraphicControl::TGraphicControl;
    bool Failing = false;
    int Paints = 0;

protected:
    void Paint() override
    {
        if (Failing)
            throw std::bad_alloc();
        ++Paints;
    }
};

struct TThrowCase {
    const char* Name;
    std::function<void()> Throw;
    QString Shown;
};

// A click's handler, run as the window runs its handlers.
TEST_F(GuardedApplicationTest, AnExceptionOutOfAClickShowsItsMessageAndTheNextClickWorks)
{
    const TThrowCase cases[] = {
        {"own exception", [] { throw Exception(u"ロゴが大きすぎます"); }, QString::fromUtf8("ロゴが大きすぎます")},
        {"runtime_error", [] { throw std::runtime_error("plain failure"); }, QStringLiteral("plain failure")},
    };
    for (const TThrowCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Boxes.clear();
        QPushButton button(QStringLiteral("Go"));
        button.resize(60, 20);
        button.show();
        int clicks = 0;
        bool fail = true;
        QObject::connect(&button, &QPushButton::clicked, [&] {
            TGuardedApplication::Run(&button, [&] {
                ++clicks;
                if (fail)
                    c.Throw();
            });
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(Boxes, QStringList{c.Shown});
        fail = false;
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(clicks, 2) << "the program goes on and the next click arrives";
        EXPECT_EQ(Boxes.size(), 1);
    }
}

TEST_F(GuardedApplicationTest, AHandlerRunByCodeEndsItsExceptionInTheBoxAndReturns)
{
    QWidget owner;
    TGuardedApplication::Run(&owner, [] { throw std::runtime_error("from code"); });
    EXPECT_EQ(Boxes, QStringList{QStringLiteral("from code")});
    int runs = 0;
    TGuardedApplication::Run(&owner, [&runs] { ++runs; });
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Boxes.size(), 1);
}

// The box waits until the paint is over, and a paint that keeps failing while its box is
// open shows no second box; once the box is closed a new failure shows again.
TEST_F(GuardedApplicationTest, AFailingPaintShowsOneBoxAfterThePaintAndLaterPaintsWork)
{
    TFailingPaint control;
    control.resize(30, 20);
    control.show();
    QCoreApplication::processEvents();
    const auto paintNow = [&control] {
        control.Invalidate();
        control.repaint();
    };
    control.Failing = true;
    paintNow();
    paintNow();
    EXPECT_TRUE(Boxes.isEmpty()) << "no box inside a paint";
    int repaintsInBox = 0;
    OnBox = [&] {
        if (repaintsInBox++ == 0) {
            paintNow();
            QCoreApplication::processEvents();
        }
    };
    QCoreApplication::processEvents();
    const QString badAlloc = QString::fromLocal8Bit(std::bad_alloc().what());
    EXPECT_EQ(Boxes, QStringList{badAlloc}) << "one box for the repeated failure";

    paintNow();
    QCoreApplication::processEvents();
    EXPECT_EQ(Boxes, (QStringList{badAlloc, badAlloc})) << "a failure after the box was closed shows again";

    control.Failing = false;
    const int paints = control.Paints;
    paintNow();
    QCoreApplication::processEvents();
    EXPECT_GT(control.Paints, paints) << "the control paints again";
    EXPECT_EQ(Boxes.size(), 2);
}

} // namespace
