// Random user sessions played on a real MainWindow, held step by step against a plain model
// of the editor: cells, pen, zoom, modified flag and screen buffer, and every file written.

#include "sessionplan.h"
#include "sessionrunner.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

class tst_Session : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void randomSession_data();
    void randomSession();

private:
    static QString shrink(const QVector<SessionStep> &plan, int failingLength);
};

void tst_Session::initTestCase()
{
    // A session closes the window now and then and shows it again.
    QApplication::setQuitOnLastWindowClosed(false);
}

// TARROW_SESSION_SEED plays that one seed; TARROW_SESSION_STEPS sets the steps per seed.
void tst_Session::randomSession_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<int>("steps");
    bool ok = false;
    int steps = qEnvironmentVariableIntValue("TARROW_SESSION_STEPS", &ok);
    if (!ok || steps <= 0)
        steps = 2500;
    const QByteArray seed = qgetenv("TARROW_SESSION_SEED");
    if (!seed.isEmpty()) {
        QTest::newRow(("seed " + seed).constData()) << quint32(seed.toUInt()) << steps;
        return;
    }
    for (quint32 s : {20240611u, 7u, 1234567u, 99991u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(s))) << s << steps;
}

void tst_Session::randomSession()
{
    QFETCH(quint32, seed);
    QFETCH(int, steps);
    const QVector<SessionStep> plan = planSession(seed, steps);

    QString failure;
    int failedAt = -1;
    {
        QElapsedTimer timer;
        timer.start();
        SessionRunner runner;
        failure = runner.run(plan, steps);
        failedAt = runner.failedStep();
        qInfo("seed %u: %d steps in %.1f s", seed, failedAt < 0 ? steps : failedAt + 1,
              double(timer.elapsed()) / 1000.0);
        const auto timing = runner.timing();
        for (auto it = timing.cbegin(); it != timing.cend(); ++it)
            qInfo("  %-14s %5d steps %8.1f ms, %.2f ms each", qPrintable(it.key()), it->second,
                  it->first, it->first / it->second);
    }
    if (failure.isEmpty())
        return;
    const QString report = shrink(plan, failedAt + 1);
    QFAIL(qPrintable(QStringLiteral("seed %1 (TARROW_SESSION_SEED=%1 TARROW_SESSION_STEPS=%2), "
                                    "failed at step %3: %4\n%5")
                         .arg(seed)
                         .arg(steps)
                         .arg(failedAt)
                         .arg(failure, report)));
}

// Replays ever shorter prefixes on fresh windows to find the shortest one that still fails,
// and returns it with what each of its last steps did.
QString tst_Session::shrink(const QVector<SessionStep> &plan, int failingLength)
{
    {
        SessionRunner fresh;
        if (fresh.run(plan, failingLength).isEmpty())
            return QStringLiteral("(a fresh window does not fail on the same %1 steps: the fault "
                                  "depends on more than the steps)")
                .arg(failingLength);
    }
    int passing = 0;
    int failing = failingLength;
    while (failing - passing > 1) {
        const int middle = (passing + failing) / 2;
        SessionRunner runner;
        (runner.run(plan, middle).isEmpty() ? passing : failing) = middle;
    }
    SessionRunner shortest;
    const QString failure = shortest.run(plan, failing);
    const QStringList log = shortest.log(); // the last few steps only
    return QStringLiteral("shortest failing prefix: %1 steps (%2)\nits last %3 steps:\n%4")
        .arg(failing)
        .arg(failure)
        .arg(log.size())
        .arg(log.join(QLatin1Char('\n')));
}

QTEST_MAIN(tst_Session)
#include "tst_session.moc"
