#include <QTest>
class QtTest : public QObject { Q_OBJECT };
QTEST_MAIN(QtTest)
#include "qt_test.moc"
