// MinMaxSize: client-size limits in twips turned into the window's minimum
// and maximum sizes, the widening and narrowing at once, and what
// UnSubClass or destruction gives back.
#include "controls/MinMaxSize.h"
#include "controls/Twips.h"

#include <QTest>

#include <memory>

using quorvantell::MinMaxSize;
using quorvantell::Twips;

class MinMaxSizeTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> m_form;
    MinMaxSize* m_limiter = nullptr;

    static constexpr int kNoMaximum = QWIDGETSIZE_MAX;

    void MakeForm(int width, int height)
    {
        m_form = std::make_unique<QWidget>();
        m_form->resize(width, height);
        m_limiter = new MinMaxSize(m_form.get());
    }

    // The client size the window keeps for a limit of t twips: the outer size
    // divided by the whole twips per pixel, less the frame.
    int ClientX(int t) const
    {
        const int frame = m_form->frameGeometry().width() - m_form->width();
        return (t + frame * 15) / 15 - frame;
    }
    int ClientY(int t) const
    {
        const int frame = m_form->frameGeometry().height() - m_form->height();
        return (t + frame * 15) / 15 - frame;
    }

private slots:
    void init() { QCOMPARE(Twips::PerPixelX(), 15.0); }
    void cleanup() { m_form.reset(); }

    void keepsItsOwnSizeAndStaysHidden()
    {
        MakeForm(600, 400);
        m_limiter->resize(200, 200);
        QCOMPARE(m_limiter->size(), QSize(20, 20));
        m_form->show();
        QVERIFY(!m_limiter->isVisible());
    }

    void minimumOnlyLeavesTheMaximumUntouched()
    {
        MakeForm(600, 400);
        m_form->show();
        m_limiter->SetMinMaxSize(5500, 3800, 0, 0);
        m_limiter->SubClass();
        QVERIFY(m_limiter->SubClassed());
        QCOMPARE(m_form->minimumSize(), QSize(ClientX(5500), ClientY(3800)));
        QCOMPARE(m_form->maximumSize(), QSize(kNoMaximum, kNoMaximum));
        QCOMPARE(ClientX(5500), 366);  // integer division: 5500 / 15

        // A window query later (the window shown again) still leaves it.
        m_form->hide();
        m_form->show();
        QCOMPARE(m_form->maximumSize(), QSize(kNoMaximum, kNoMaximum));
        QCOMPARE(m_form->minimumSize(), QSize(ClientX(5500), ClientY(3800)));
    }

    void smallerWindowIsWidenedAtOnce()
    {
        MakeForm(200, 100);
        m_limiter->SetMinMaxSize(6000, 3500, 0, 0);
        QCOMPARE(m_form->size(), QSize(400, 233));
        // Not subclassed yet: the user could still make it smaller.
        QCOMPARE(m_form->minimumSize(), QSize(0, 0));
    }

    void maximumWidthFixesTheWidth()
    {
        MakeForm(900, 80);
        m_limiter->SetMinMaxSize(9480, 1695, 9480, 0);
        QCOMPARE(m_form->size(), QSize(632, 113));
        m_limiter->SubClass();
        QCOMPARE(m_form->minimumSize(), QSize(632, 113));
        QCOMPARE(m_form->maximumSize(), QSize(632, kNoMaximum));
        m_form->resize(1000, 700);
        QCOMPARE(m_form->size(), QSize(632, 700));
    }

    void bothMaximaNarrowAndLower()
    {
        MakeForm(900, 900);
        m_limiter->SubClass();
        m_limiter->SetMinMaxSize(1500, 1500, 4500, 3000);
        QCOMPARE(m_form->size(), QSize(300, 200));
        QCOMPARE(m_form->maximumSize(), QSize(300, 200));
    }

    void droppingAMaximumGivesTheWindowItsOwnBack()
    {
        MakeForm(500, 500);
        m_form->setMaximumSize(800, 800);
        m_limiter->SubClass();
        m_limiter->SetMinMaxSize(1500, 1500, 4500, 4500);
        QCOMPARE(m_form->maximumSize(), QSize(300, 300));
        m_limiter->SetMinMaxSize(1500, 1500, 0, 0);
        QCOMPARE(m_form->maximumSize(), QSize(800, 800));
    }

    void unSubClassAndDestructionLiftTheLimits()
    {
        MakeForm(500, 500);
        m_form->setMinimumSize(10, 10);
        m_limiter->SetMinMaxSize(3000, 3000, 6000, 6000);
        m_limiter->SubClass();
        QCOMPARE(m_form->minimumSize(), QSize(200, 200));
        m_limiter->UnSubClass();
        QVERIFY(!m_limiter->SubClassed());
        QCOMPARE(m_form->minimumSize(), QSize(10, 10));
        QCOMPARE(m_form->maximumSize(), QSize(kNoMaximum, kNoMaximum));

        m_limiter->SubClass();
        QCOMPARE(m_form->maximumSize(), QSize(400, 400));
        delete m_limiter;
        QCOMPARE(m_form->minimumSize(), QSize(10, 10));
        QCOMPARE(m_form->maximumSize(), QSize(kNoMaximum, kNoMaximum));
    }

    void withoutAWindowNothingHappens()
    {
        MinMaxSize orphan;
        orphan.SetMinMaxSize(3000, 3000, 0, 0);
        orphan.SubClass();
        QVERIFY(!orphan.SubClassed());
    }

    void limitsSetBeforeAreAnsweredOnSubClass()
    {
        MakeForm(500, 500);
        m_limiter->SetMinMaxSize(4500, 4500, 0, 0);
        QCOMPARE(m_form->minimumSize(), QSize(0, 0));
        m_limiter->SubClass();
        QCOMPARE(m_form->minimumSize(), QSize(300, 300));
        m_form->resize(100, 100);
        QCOMPARE(m_form->size(), QSize(300, 300));
    }
};

QTEST_MAIN(MinMaxSizeTest)
#include "MinMaxSizeTest.moc"
