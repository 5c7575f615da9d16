#include "frameregion.h"

#include "framememory.h"
#include "packed12unpacker.h"
#include "pixelformat.h"

#include <opencv2/core/utility.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace
{
int floorEven(int anValue)
{
    return anValue & ~1;
}

cv::Rect frameRect(const tcImageBuffer& arFrame)
{
    return cv::Rect(0, 0, std::max(0, arFrame.width()), std::max(0, arFrame.height()));
}

bool hasBytes(const tcImageBuffer& arFrame)
{
    return arFrame.data() != nullptr && arFrame.width() > 0 && arFrame.height() > 0;
}

int matType(const tcFrameRegion::tcLayout& arLayout)
{
    if (arLayout.meKind == tcFrameRegion::teKind::Rgb)
        return CV_8UC3;
    return arLayout.meStorage == tcFrameRegion::teStorage::Bytes8 ? CV_8UC1 : CV_16UC1;
}

// Sets the colour of each mosaic site from the two colours that open the
// first line ("RG" means R G / G B).
void setMosaic(tcFrameRegion::tcLayout& arLayout, char acFirst, char acSecond)
{
    const auto lcChannel = [](char acColour) { return acColour == 'R' ? 0 : acColour == 'G' ? 1 : 2; };
    arLayout.mnColourOfSite[0][0] = lcChannel(acFirst);
    arLayout.mnColourOfSite[0][1] = lcChannel(acSecond);
    // The second line swaps green for the missing colour and back.
    const int lnOther = 2 - (acFirst == 'G' ? lcChannel(acSecond) : lcChannel(acFirst));
    arLayout.mnColourOfSite[1][0] = acFirst == 'G' ? lnOther : 1;
    arLayout.mnColourOfSite[1][1] = acFirst == 'G' ? 1 : lnOther;
}

// Samples [anX, anX + anCount) of line anY as 16-bit values (three per pixel
// for RGB); points into the frame where no conversion is needed.
const quint16* decodeRow(const tcImageBuffer& arFrame, const tcFrameRegion::tcLayout& arLayout, int anY,
                         int anX, int anCount, std::vector<quint16>& arBuffer)
{
    const qint64 lnWidth = arFrame.width();
    const int lnChannels = arLayout.channels();
    const qint64 lnFirst = (anY * lnWidth + anX) * lnChannels;
    const qint64 lnCount = static_cast<qint64>(anCount) * lnChannels;
    switch (arLayout.meStorage)
    {
    case tcFrameRegion::teStorage::Words16:
        return reinterpret_cast<const quint16*>(arFrame.data()) + lnFirst;
    case tcFrameRegion::teStorage::Bytes8:
    {
        arBuffer.resize(static_cast<size_t>(lnCount));
        const uchar* lpSource = arFrame.data() + lnFirst;
        std::copy(lpSource, lpSource + lnCount, arBuffer.begin());
        return arBuffer.data();
    }
    case tcFrameRegion::teStorage::Packed12:
    default:
    {
        // Packed pairs start on even samples; an odd start decodes one more.
        const qint64 lnStart = lnFirst & ~qint64(1);
        const qint64 lnSkip = lnFirst - lnStart;
        arBuffer.resize(static_cast<size_t>(lnCount + lnSkip));
        tcPacked12Unpacker::unpackSamples(0, lnCount + lnSkip, arFrame.data() + lnStart / 2 * 3,
                                          arBuffer.data());
        return arBuffer.data() + lnSkip;
    }
    }
}

// Kept apart, with the pointers declared unaliased, so that the compiler
// turns it into vector instructions: it runs over every sample of a frame.
void addRow(quint32* __restrict apSums, const quint16* __restrict apRow, int anCount)
{
    for (int lnIndex = 0; lnIndex < anCount; ++lnIndex)
        apSums[lnIndex] += apRow[lnIndex];
}

uchar to8Bit(double adValue)
{
    return static_cast<uchar>(adValue >= 255.0 ? 255 : adValue <= 0.0 ? 0 : int(adValue + 0.5));
}

// One output line of a mosaic: the sums of each block's four sites (even and
// odd lines, even and odd columns), sorted into R, G and B by the pattern.
void averageMosaicBlocks(const std::vector<quint32> (&arSums)[2], const tcFrameRegion::tcLayout& arLayout,
                         int anBin, int anWidth, uchar* apTarget)
{
    // Sites are numbered line parity * 2 + column parity.
    int lnRed = 0;
    int lnBlue = 0;
    int lnGreens[2] = {0, 0};
    int lnGreen = 0;
    for (int lnSite = 0; lnSite < 4; ++lnSite)
    {
        const int lnColour = arLayout.mnColourOfSite[lnSite / 2][lnSite % 2];
        if (lnColour == 0)
            lnRed = lnSite;
        else if (lnColour == 2)
            lnBlue = lnSite;
        else if (lnGreen < 2)
            lnGreens[lnGreen++] = lnSite;
    }
    // A block holds a quarter red, a quarter blue and half green sites.
    const double ldSites = double(anBin) * anBin;
    const double ldRedBlue = arLayout.mdTo8Bit * 4 / ldSites;
    const double ldGreen = arLayout.mdTo8Bit * 2 / ldSites;
    const quint32* lpEven = arSums[0].data();
    const quint32* lpOdd = arSums[1].data();
    for (int lnX = 0; lnX < anWidth; ++lnX)
    {
        quint64 lnSite[4] = {0, 0, 0, 0};
        for (int lnColumn = 0; lnColumn < anBin; lnColumn += 2)
        {
            lnSite[0] += lpEven[lnColumn];
            lnSite[1] += lpEven[lnColumn + 1];
            lnSite[2] += lpOdd[lnColumn];
            lnSite[3] += lpOdd[lnColumn + 1];
        }
        lpEven += anBin;
        lpOdd += anBin;
        apTarget[3 * lnX] = to8Bit(double(lnSite[lnRed]) * ldRedBlue);
        apTarget[3 * lnX + 1] = to8Bit(double(lnSite[lnGreens[0]] + lnSite[lnGreens[1]]) * ldGreen);
        apTarget[3 * lnX + 2] = to8Bit(double(lnSite[lnBlue]) * ldRedBlue);
    }
}

// One output line of a mono or RGB frame: the mean of each block.
void averagePlainBlocks(const std::vector<quint32> (&arSums)[2], const tcFrameRegion::tcLayout& arLayout,
                        int anBin, int anWidth, uchar* apTarget)
{
    const int lnChannels = arLayout.channels();
    const double ldScale = arLayout.mdTo8Bit / (double(anBin) * anBin);
    for (int lnX = 0; lnX < anWidth; ++lnX)
        for (int lnChannel = 0; lnChannel < lnChannels; ++lnChannel)
        {
            quint64 lnSum = 0;
            for (int lnColumn = lnX * anBin; lnColumn < (lnX + 1) * anBin; ++lnColumn)
            {
                const size_t lnIndex = size_t(lnColumn) * lnChannels + lnChannel;
                lnSum += arSums[0][lnIndex] + arSums[1][lnIndex];
            }
            apTarget[lnChannels * lnX + lnChannel] = to8Bit(double(lnSum) * ldScale);
        }
}
} // namespace

tcFrameRegion::tcLayout tcFrameRegion::layout(quint32 anPixelFormat)
{
    tcLayout lcLayout;
    const auto lcBayer = [&lcLayout, anPixelFormat](teStorage aeStorage, int anBits, const char* apPattern)
    {
        lcLayout.meKind = teKind::Bayer;
        lcLayout.meStorage = aeStorage;
        lcLayout.mnBits = anBits;
        lcLayout.mnDemosaic = PixelFormats::tcPixelFormat::bayerToRgbConversion(anPixelFormat);
        setMosaic(lcLayout, apPattern[0], apPattern[1]);
    };
    switch (anPixelFormat)
    {
    case 0x01080001u: // Mono8
        lcLayout = {teKind::Mono, teStorage::Bytes8, 8};
        break;
    case 0x010C0047u: // Mono12p
        lcLayout = {teKind::Mono, teStorage::Packed12, 12};
        break;
    case 0x01100007u: // Mono16
        lcLayout = {teKind::Mono, teStorage::Words16, 16};
        break;
    case 0x02180014u: // RGB8
        lcLayout = {teKind::Rgb, teStorage::Bytes8, 8};
        break;
    case 0x01080008u: // BayerGR8
        lcBayer(teStorage::Bytes8, 8, "GR");
        break;
    case 0x01080009u: // BayerRG8
        lcBayer(teStorage::Bytes8, 8, "RG");
        break;
    case 0x0108000Au: // BayerGB8
        lcBayer(teStorage::Bytes8, 8, "GB");
        break;
    case 0x0108000Bu: // BayerBG8
        lcBayer(teStorage::Bytes8, 8, "BG");
        break;
    case 0x01100010u: // BayerGR12
        lcBayer(teStorage::Words16, 12, "GR");
        break;
    case 0x01100011u: // BayerRG12
        lcBayer(teStorage::Words16, 12, "RG");
        break;
    case 0x01100012u: // BayerGB12
        lcBayer(teStorage::Words16, 12, "GB");
        break;
    case 0x01100013u: // BayerBG12
        lcBayer(teStorage::Words16, 12, "BG");
        break;
    case 0x010C0057u: // BayerGR12p
        lcBayer(teStorage::Packed12, 12, "GR");
        break;
    case 0x010C0059u: // BayerRG12p
        lcBayer(teStorage::Packed12, 12, "RG");
        break;
    case 0x010C0055u: // BayerGB12p
        lcBayer(teStorage::Packed12, 12, "GB");
        break;
    case 0x010C0053u: // BayerBG12p
        lcBayer(teStorage::Packed12, 12, "BG");
        break;
    default:
        return lcLayout;
    }
    lcLayout.mdTo8Bit = 1.0 / double(1 << (lcLayout.mnBits - 8));
    return lcLayout;
}

tcFrameRegion::tcLayout tcFrameRegion::layout(const tcImageBuffer& arFrame)
{
    return layout(arFrame.getPixelFormat()->getCode());
}

QImage::Format tcFrameRegion::displayFormat(const tcLayout& arLayout)
{
    return arLayout.meKind == teKind::Mono ? QImage::Format_Grayscale8 : QImage::Format_RGB888;
}

QImage tcFrameRegion::pooledImage(const QSize& arSize, QImage::Format aeFormat)
{
    if (arSize.isEmpty())
        return QImage();
    const int lnChannels = aeFormat == QImage::Format_RGB888 ? 3 : 1;
    // QImage lines are padded to 4 bytes.
    const qint64 lnLine = (qint64(arSize.width()) * lnChannels + 3) / 4 * 4;
    if (lnLine > std::numeric_limits<int>::max())
        return QImage();
    uchar* lpBuffer = tcFrameMemory::acquire(size_t(lnLine) * size_t(arSize.height()));
    if (!lpBuffer)
        return QImage();
    QImage lcImage(
        lpBuffer, arSize.width(), arSize.height(), int(lnLine), aeFormat,
        [](void* apBuffer) { tcFrameMemory::release(static_cast<uchar*>(apBuffer)); }, lpBuffer);
    if (lcImage.isNull())
        tcFrameMemory::release(lpBuffer);
    return lcImage;
}

cv::Mat tcFrameRegion::matOf(QImage& arImage)
{
    const int lnType = arImage.format() == QImage::Format_RGB888 ? CV_8UC3 : CV_8UC1;
    return cv::Mat(arImage.height(), arImage.width(), lnType, arImage.bits(),
                   static_cast<size_t>(arImage.bytesPerLine()));
}

cv::Mat tcFrameRegion::raw(const tcImageBuffer& arFrame, const cv::Rect& arRect)
{
    const tcLayout lcLayout = layout(arFrame);
    const cv::Rect lcRect = arRect & frameRect(arFrame);
    if (!lcLayout.isKnown() || !hasBytes(arFrame) || lcRect.empty())
        return cv::Mat();
    if (lcLayout.meStorage != teStorage::Packed12)
    {
        const cv::Mat lcWhole(arFrame.height(), arFrame.width(), matType(lcLayout),
                              const_cast<uchar*>(arFrame.data()));
        return lcWhole(lcRect);
    }
    cv::Mat lcResult(lcRect.size(), CV_16UC1);
    std::vector<quint16> lsBuffer;
    for (int lnRow = 0; lnRow < lcRect.height; ++lnRow)
    {
        const quint16* lpRow =
            decodeRow(arFrame, lcLayout, lcRect.y + lnRow, lcRect.x, lcRect.width, lsBuffer);
        std::copy(lpRow, lpRow + lcRect.width, lcResult.ptr<quint16>(lnRow));
    }
    return lcResult;
}

cv::Mat tcFrameRegion::filtered(const tcImageBuffer& arFrame, const cv::Rect& arRect)
{
    const tcLayout lcLayout = layout(arFrame);
    const cv::Rect lcRect = arRect & frameRect(arFrame);
    if (lcLayout.meKind != teKind::Bayer)
        return raw(arFrame, lcRect);
    if (lcRect.empty() || !hasBytes(arFrame))
        return cv::Mat();
    // Two sites of margin give every pixel of the region the neighbours it
    // has in the whole frame; an even origin keeps the mosaic's phase.
    const int lnLeft = floorEven(std::max(0, lcRect.x - 2));
    const int lnTop = floorEven(std::max(0, lcRect.y - 2));
    const cv::Rect lcExpanded =
        cv::Rect(cv::Point(lnLeft, lnTop), cv::Point(lcRect.br().x + 2, lcRect.br().y + 2)) &
        frameRect(arFrame);
    cv::Mat lcColour;
    cv::cvtColor(raw(arFrame, lcExpanded), lcColour, lcLayout.mnDemosaic);
    return lcColour(lcRect - lcExpanded.tl());
}

QImage tcFrameRegion::display(const tcImageBuffer& arFrame, const cv::Rect& arRect)
{
    const tcLayout lcLayout = layout(arFrame);
    const cv::Mat lcFiltered = filtered(arFrame, arRect);
    if (lcFiltered.empty())
        return QImage();
    QImage lcImage = pooledImage(QSize(lcFiltered.cols, lcFiltered.rows), displayFormat(lcLayout));
    if (lcImage.isNull())
        return lcImage;
    cv::Mat lcTarget = matOf(lcImage);
    if (lcFiltered.depth() == CV_8U)
        lcFiltered.copyTo(lcTarget);
    else
        lcFiltered.convertTo(lcTarget, CV_8U, lcLayout.mdTo8Bit);
    return lcImage;
}

int tcFrameRegion::binFactor(const tcLayout& arLayout, const cv::Size& arSource, const cv::Size& arOutput)
{
    if (!arLayout.isKnown() || arOutput.width <= 0 || arOutput.height <= 0)
        return 1;
    int lnBin = std::min(arSource.width / arOutput.width, arSource.height / arOutput.height);
    if (arLayout.meKind == teKind::Bayer)
        lnBin = floorEven(lnBin);
    return lnBin >= 2 ? lnBin : 1;
}

cv::Rect tcFrameRegion::binnedSource(const tcLayout& arLayout, const cv::Rect& arRect, int anBin)
{
    const bool lbMosaic = arLayout.meKind == teKind::Bayer;
    const int lnLeft = lbMosaic ? floorEven(arRect.x) : arRect.x;
    const int lnTop = lbMosaic ? floorEven(arRect.y) : arRect.y;
    const int lnWidth = (arRect.br().x - lnLeft) / anBin * anBin;
    const int lnHeight = (arRect.br().y - lnTop) / anBin * anBin;
    return cv::Rect(lnLeft, lnTop, lnWidth, lnHeight);
}

QImage tcFrameRegion::binned(const tcImageBuffer& arFrame, const cv::Rect& arRect, int anBin)
{
    const tcLayout lcLayout = layout(arFrame);
    if (!lcLayout.isKnown() || !hasBytes(arFrame) || anBin < 1 ||
        (lcLayout.meKind == teKind::Bayer && anBin % 2 != 0))
        return QImage();
    const cv::Rect lcSource = binnedSource(lcLayout, arRect & frameRect(arFrame), anBin);
    if (lcSource.empty())
        return QImage();
    QImage lcImage =
        pooledImage(QSize(lcSource.width / anBin, lcSource.height / anBin), displayFormat(lcLayout));
    if (lcImage.isNull())
        return lcImage;
    const int lnSamples = lcSource.width * lcLayout.channels();

    cv::parallel_for_(cv::Range(0, lcImage.height()),
                      [&](const cv::Range& arRows)
                      {
                          std::vector<quint16> lsBuffer;
                          // Column sums of the block's lines, kept apart for even and odd
                          // lines so that the mosaic's four sites can be told apart.
                          std::vector<quint32> lsSums[2] = {std::vector<quint32>(size_t(lnSamples)),
                                                            std::vector<quint32>(size_t(lnSamples))};
                          for (int lnOut = arRows.start; lnOut < arRows.end; ++lnOut)
                          {
                              std::fill(lsSums[0].begin(), lsSums[0].end(), 0u);
                              std::fill(lsSums[1].begin(), lsSums[1].end(), 0u);
                              for (int lnLine = 0; lnLine < anBin; ++lnLine)
                              {
                                  const int lnY = lcSource.y + lnOut * anBin + lnLine;
                                  const quint16* lpRow =
                                      decodeRow(arFrame, lcLayout, lnY, lcSource.x, lcSource.width, lsBuffer);
                                  addRow(lsSums[lnY & 1].data(), lpRow, lnSamples);
                              }
                              uchar* lpTarget = lcImage.scanLine(lnOut);
                              if (lcLayout.meKind == teKind::Bayer)
                                  averageMosaicBlocks(lsSums, lcLayout, anBin, lcImage.width(), lpTarget);
                              else
                                  averagePlainBlocks(lsSums, lcLayout, anBin, lcImage.width(), lpTarget);
                          }
                      });
    return lcImage;
}
