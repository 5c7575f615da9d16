#include "messagecapture.h"

#include <mutex>

namespace
{
std::mutex gcLock;
QList<QPair<QtMsgType, QString>> gcMessages;
} // namespace

tcMessageCapture::tcMessageCapture()
{
    clear();
    mpPrevious = qInstallMessageHandler(&tcMessageCapture::handler);
}

tcMessageCapture::~tcMessageCapture()
{
    qInstallMessageHandler(mpPrevious);
}

void tcMessageCapture::handler(QtMsgType aeType, const QMessageLogContext&, const QString& arText)
{
    std::lock_guard<std::mutex> lcGuard(gcLock);
    gcMessages.append(qMakePair(aeType, arText));
}

QStringList tcMessageCapture::texts(QtMsgType aeType) const
{
    std::lock_guard<std::mutex> lcGuard(gcLock);
    QStringList lsTexts;
    for (const auto& lrMessage : gcMessages)
        if (lrMessage.first == aeType)
            lsTexts << lrMessage.second;
    return lsTexts;
}

void tcMessageCapture::clear()
{
    std::lock_guard<std::mutex> lcGuard(gcLock);
    gcMessages.clear();
}
