// The video panel fed by the simulated cameras, wired as the main window
// wires it: every acquisition buffer comes back while streaming and when the
// stream ends, and the picture stays after the end.
#include "glvideowidget.h"
#include "opencamera.h"
#include "settings.h"
#include "videowidget.h"

#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

class tst_VideoStream : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void streamsWithoutLosingBuffers_data();
    void streamsWithoutLosingBuffers();
};

void tst_VideoStream::initTestCase()
{
    tcSimcamFixture::useTemporarySettings();
    tcImageBuffer::registerMetaType();
}

void tst_VideoStream::streamsWithoutLosingBuffers_data()
{
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<int>("seconds");
    QTest::newRow("mono 2048") << QByteArray(tnSimcam::kMonoId) << 10;
    QTest::newRow("colour 1936") << QByteArray(tnSimcam::kColorId) << 3;
}

void tst_VideoStream::streamsWithoutLosingBuffers()
{
    QFETCH(QByteArray, device);
    QFETCH(int, seconds);
    tcOpenCamera lcCamera(device.constData());
    QVERIFY(lcCamera.mbOpen);
    QSignalSpy lcErrors(&lcCamera.mcCamera, &tcCameraInterface::Error);
    quint64 lnDelivered = 0;
    {
        tcVideoWidget lcPanel(&lcCamera.mcCamera, QList<tcViewerInterface*>());
        lcPanel.resize(800, 600);
        lcPanel.show();
        connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, &lcPanel, &tcVideoWidget::NewFrame);
        connect(&lcCamera.mcCamera, &tcCameraInterface::NewFrame, this,
                [&](tpImageBuffer apFrame)
                {
                    if (!apFrame)
                        return;
                    ++lnDelivered;
                });
        emit lcPanel.StartVideo();
        QTest::qWait(seconds * 1000);
        QVERIFY(lnDelivered > quint64(seconds) * 5);
        QVERIFY(lcPanel.surface()->shownFrames() > 0);
        QVERIFY(lcPanel.surface()->shownFrames() + lcPanel.surface()->droppedFrames() <= lnDelivered);
        QCOMPARE(lcPanel.renderedCount(), unsigned(lnDelivered));
        QVERIFY(lcPanel.findChild<QLabel*>(QStringLiteral("labelInfo"))
                    ->text()
                    .startsWith(QStringLiteral("Frame ")));

        // A snapshot of the running camera is a still copy; closing it
        // leaves the stream running.
        {
            std::unique_ptr<tcVideoWidget> lpSnapshot(tcVideoWidget::newSnapshot(
                &lcCamera.mcCamera, lcCamera.mcCamera.currentFrame(), QList<tcViewerInterface*>()));
            lpSnapshot->show();
            QVERIFY(lpSnapshot->surface()->hasImage());
            lpSnapshot->close();
            QTest::qWait(200);
            QVERIFY(lcCamera.mcCamera.IsRunning());
        }

        // Closing the panel stops the video. The display keeps the last frame
        // until the end of the stream (a null frame) takes it; the picture
        // stays.
        lcPanel.close();
        QTRY_VERIFY_WITH_TIMEOUT(!lcCamera.mcCamera.IsRunning(), 10000);
        QVERIFY(lcPanel.surface()->waitForRendering());
        QTest::qWait(100); // frames already queued for the GUI arrive
        QCOMPARE(lcCamera.mcCamera.GetFramesCaptured(), lnDelivered);
        const tpImageBuffer lpShown = lcPanel.surface()->currentFrame();
        QVERIFY(lpShown);
        const uchar* lpCameraBytes = lpShown->data();
        lcPanel.NewFrame(tpImageBuffer());
        QVERIFY(lcPanel.surface()->currentFrame() != lpShown);
        QVERIFY(lcPanel.surface()->currentFrame()->data() != lpCameraBytes);
        QVERIFY(lcPanel.surface()->hasImage());
        QVERIFY(lcPanel.surface()->currentFrame());
        QVERIFY(!lcPanel.surface()->currentFrame()->isNull());
    }
    lcCamera.close();
    for (const QList<QVariant>& lrError : lcErrors)
        qWarning() << lrError.first().toString();
    QCOMPARE(lcErrors.count(), 0);
}

QTEST_MAIN(tst_VideoStream)
#include "tst_videostream.moc"
