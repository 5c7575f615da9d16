#include "imagefile.h"

#include "pixelformat.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

namespace
{
const char* const gpMagic = "KESTRIX-RAW 1";
const quint32 gnMono8 = 0x01080001u;
const quint32 gnRgb8 = 0x02180014u;

// Keeps a loaded or copied frame's bytes alive: a child of the frame, so it
// goes when the frame goes.
class tcOwnedBytes : public QObject
{
public:
    tcOwnedBytes(QByteArray acBytes, QObject* apParent) : QObject(apParent), mcBytes(std::move(acBytes)) {}
    QByteArray mcBytes;
};

QByteArray header(int anWidth, int anHeight, quint32 anFormat, const QString& arName, const QPoint& arOffset,
                  quint64 anFrameId, quint64 anBytes)
{
    QByteArray lcText = QByteArray(gpMagic) + '\n';
    lcText += "width " + QByteArray::number(anWidth) + '\n';
    lcText += "height " + QByteArray::number(anHeight) + '\n';
    lcText += "pixelformat 0x" + QByteArray::number(anFormat, 16).toUpper().rightJustified(8, '0') + ' ' +
              arName.toLatin1() + '\n';
    lcText += "offset " + QByteArray::number(arOffset.x()) + ' ' + QByteArray::number(arOffset.y()) + '\n';
    lcText += "frameid " + QByteArray::number(anFrameId) + '\n';
    lcText += "bytes " + QByteArray::number(anBytes) + '\n';
    lcText += "end\n";
    lcText = lcText.leftJustified(tcImageFile::scHeaderBytes - 1, ' ');
    lcText += '\n';
    return lcText;
}

// The picture's rows without their padding, as Mono8 or RGB8 samples.
QByteArray packedRows(const QImage& arImage, quint32& arFormat)
{
    const bool lbGrey = arImage.isGrayscale();
    const QImage lcImage =
        arImage.convertToFormat(lbGrey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    arFormat = lbGrey ? gnMono8 : gnRgb8;
    const int lnLine = lcImage.width() * (lbGrey ? 1 : 3);
    QByteArray lcBytes;
    lcBytes.reserve(lnLine * lcImage.height());
    for (int lnRow = 0; lnRow < lcImage.height(); ++lnRow)
        lcBytes.append(reinterpret_cast<const char*>(lcImage.constScanLine(lnRow)), lnLine);
    return lcBytes;
}

QString commit(QSaveFile& arFile)
{
    if (!arFile.commit())
        return arFile.errorString();
    return QString();
}
} // namespace

bool tcImageFile::isRawPath(const QString& arPath)
{
    return QFileInfo(arPath).suffix().compare(QLatin1String("img"), Qt::CaseInsensitive) == 0;
}

QString tcImageFile::save(const QString& arPath, const tpImageBuffer& apFrame, const QImage& arImage)
{
    if (isRawPath(arPath))
        return saveRaw(arPath, apFrame, arImage);
    if (arImage.isNull())
        return QStringLiteral("there is no image to save");
    const QByteArray lcFormat = QFileInfo(arPath).suffix().toLower().toLatin1();
    if (!QImageWriter::supportedImageFormats().contains(lcFormat))
        return QStringLiteral("no image format is known for the suffix \"%1\"")
            .arg(QFileInfo(arPath).suffix());
    QSaveFile lcFile(arPath);
    if (!lcFile.open(QIODevice::WriteOnly))
        return lcFile.errorString();
    QImageWriter lcWriter(&lcFile, lcFormat);
    if (!lcWriter.write(arImage))
    {
        lcFile.cancelWriting();
        return lcWriter.errorString();
    }
    return commit(lcFile);
}

QString tcImageFile::saveRaw(const QString& arPath, const tpImageBuffer& apFrame, const QImage& arImage)
{
    QByteArray lcHeader;
    QByteArray lcOwnBytes;
    const char* lpBytes = nullptr;
    qint64 lnBytes = 0;
    if (apFrame && !apFrame->isNull())
    {
        lnBytes = static_cast<qint64>(apFrame->getNumDataBytes());
        if (lnBytes <= 0)
            return QStringLiteral("the frame's pixel format %1 cannot be saved raw")
                .arg(apFrame->getPixelFormat()->getName());
        lpBytes = reinterpret_cast<const char*>(apFrame->data());
        lcHeader = header(apFrame->width(), apFrame->height(), apFrame->getPixelFormat()->getCode(),
                          apFrame->getPixelFormat()->getName(), apFrame->getTopLeft(), apFrame->getFrameId(),
                          quint64(lnBytes));
    }
    else if (!arImage.isNull())
    {
        quint32 lnFormat = 0;
        lcOwnBytes = packedRows(arImage, lnFormat);
        lpBytes = lcOwnBytes.constData();
        lnBytes = lcOwnBytes.size();
        lcHeader = header(arImage.width(), arImage.height(), lnFormat,
                          lnFormat == gnMono8 ? QStringLiteral("Mono8") : QStringLiteral("RGB8"), QPoint(), 0,
                          quint64(lnBytes));
    }
    else
    {
        return QStringLiteral("there is no image to save");
    }
    QSaveFile lcFile(arPath);
    if (!lcFile.open(QIODevice::WriteOnly))
        return lcFile.errorString();
    if (lcFile.write(lcHeader) != lcHeader.size() || lcFile.write(lpBytes, lnBytes) != lnBytes)
    {
        const QString lsError = lcFile.errorString();
        lcFile.cancelWriting();
        return lsError;
    }
    return commit(lcFile);
}

tcImageFile::tcLoaded tcImageFile::load(const QString& arPath)
{
    if (isRawPath(arPath))
        return loadRaw(arPath);
    tcLoaded lcResult;
    QImageReader lcReader(arPath);
    if (!lcReader.read(&lcResult.mcImage))
    {
        lcResult.mcImage = QImage();
        lcResult.msError = lcReader.errorString();
    }
    return lcResult;
}

tcImageFile::tcLoaded tcImageFile::loadRaw(const QString& arPath)
{
    tcLoaded lcResult;
    QFile lcFile(arPath);
    if (!lcFile.open(QIODevice::ReadOnly))
    {
        lcResult.msError = lcFile.errorString();
        return lcResult;
    }
    const QByteArray lcHeader = lcFile.read(scHeaderBytes);
    const QList<QByteArray> lsLines = lcHeader.split('\n');
    if (lcHeader.size() != scHeaderBytes || lsLines.isEmpty() || lsLines.first() != gpMagic)
    {
        lcResult.msError =
            QStringLiteral("not a raw frame file (no \"%1\" header)").arg(QLatin1String(gpMagic));
        return lcResult;
    }
    QHash<QByteArray, QList<QByteArray>> lhFields;
    for (const QByteArray& lrLine : lsLines.mid(1))
    {
        const QList<QByteArray> lsWords = lrLine.simplified().split(' ');
        if (lsWords.first() == "end")
            break;
        lhFields.insert(lsWords.first(), lsWords.mid(1));
    }
    const auto lcNumber = [&lhFields](const char* apKey, int anIndex, int anBase, bool& arOk) -> qulonglong
    {
        const QList<QByteArray> lsValues = lhFields.value(apKey);
        if (lsValues.size() <= anIndex)
        {
            arOk = false;
            return 0;
        }
        bool lbOk = false;
        const qulonglong lnValue = lsValues.at(anIndex).toULongLong(&lbOk, anBase);
        arOk = arOk && lbOk;
        return lnValue;
    };
    bool lbOk = true;
    const qulonglong lnWidth = lcNumber("width", 0, 10, lbOk);
    const qulonglong lnHeight = lcNumber("height", 0, 10, lbOk);
    const qulonglong lnFormat = lcNumber("pixelformat", 0, 0, lbOk);
    const qulonglong lnBytes = lcNumber("bytes", 0, 10, lbOk);
    if (!lbOk || lnWidth == 0 || lnHeight == 0 || lnWidth > 65535 || lnHeight > 65535 ||
        lnFormat > 0xFFFFFFFFu)
    {
        lcResult.msError =
            QStringLiteral("the header's width, height, pixel format or size is missing or wrong");
        return lcResult;
    }
    // The header must agree with what its pixel format needs, or the frame
    // would read past its bytes.
    tpImageBuffer lpProbe = tcImageBuffer::newImage(nullptr, int(lnWidth), int(lnHeight), lnFormat);
    const quint64 lnNeeded = lpProbe->getNumDataBytes();
    if (lpProbe->getPixelFormat()->getName() == QLatin1String("NULL") || lnNeeded == 0)
    {
        lcResult.msError =
            QStringLiteral("pixel format 0x%1 is not supported").arg(lnFormat, 8, 16, QLatin1Char('0'));
        return lcResult;
    }
    if (lnBytes != lnNeeded)
    {
        lcResult.msError = QStringLiteral("the header gives %1 bytes where %2 x %3 %4 needs %5")
                               .arg(lnBytes)
                               .arg(lnWidth)
                               .arg(lnHeight)
                               .arg(lpProbe->getPixelFormat()->getName())
                               .arg(lnNeeded);
        return lcResult;
    }
    QByteArray lcBytes = lcFile.read(qint64(lnBytes));
    if (quint64(lcBytes.size()) != lnBytes)
    {
        lcResult.msError =
            QStringLiteral("the file is cut short: %1 of %2 bytes").arg(lcBytes.size()).arg(lnBytes);
        return lcResult;
    }
    lcResult.mpFrame = frameOwning(std::move(lcBytes), int(lnWidth), int(lnHeight), quint32(lnFormat));
    bool lbOffsetOk = true;
    const int lnX = int(lcNumber("offset", 0, 10, lbOffsetOk));
    const int lnY = int(lcNumber("offset", 1, 10, lbOffsetOk));
    if (lbOffsetOk)
        lcResult.mpFrame->setTopLeft(QPoint(lnX, lnY));
    bool lbIdOk = true;
    const quint64 lnId = lcNumber("frameid", 0, 10, lbIdOk);
    if (lbIdOk)
        lcResult.mpFrame->setFrameId(lnId);
    return lcResult;
}

tpImageBuffer tcImageFile::frameOwning(QByteArray acBytes, int anWidth, int anHeight, quint32 anPixelFormat)
{
    // The frame takes a pointer into the array; the array's owner becomes the
    // frame's child before anything can detach it.
    uchar* lpData = reinterpret_cast<uchar*>(acBytes.data());
    tpImageBuffer lpFrame = tcImageBuffer::newImage(lpData, anWidth, anHeight, quint64(anPixelFormat));
    new tcOwnedBytes(std::move(acBytes), lpFrame.data());
    return lpFrame;
}

tpImageBuffer tcImageFile::ownedCopy(const tcImageBuffer& arFrame)
{
    const qint64 lnBytes = static_cast<qint64>(arFrame.getNumDataBytes());
    QByteArray lcBytes;
    if (arFrame.data() && lnBytes > 0)
        lcBytes = QByteArray(reinterpret_cast<const char*>(arFrame.data()), int(lnBytes));
    tpImageBuffer lpCopy = frameOwning(std::move(lcBytes), arFrame.width(), arFrame.height(),
                                       arFrame.getPixelFormat()->getCode());
    if (lnBytes <= 0)
        lpCopy->setData(nullptr);
    lpCopy->setTopLeft(arFrame.getTopLeft());
    lpCopy->setFrameId(arFrame.getFrameId());
    lpCopy->setAcquireTime(arFrame.getAcquireTime());
    return lpCopy;
}
