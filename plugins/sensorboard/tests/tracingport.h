#pragma once

#include <GenApi/GenApi.h>

#include <QList>
#include <QPair>

#include <cstring>

// Passes every register access on to the camera's own port and records the
// writes (address and first 32-bit word), so that tests count exactly what
// reached the camera.
class tcTracingPort : public GenApi::IPort
{
public:
    explicit tcTracingPort(GenApi::IPort* apInner) : mpInner(apInner) {}

    GenApi::EAccessMode GetAccessMode() const override { return mpInner->GetAccessMode(); }
    void Read(void* apBuffer, int64_t anAddress, int64_t anLength) override
    {
        mpInner->Read(apBuffer, anAddress, anLength);
    }
    void Write(const void* apBuffer, int64_t anAddress, int64_t anLength) override
    {
        quint32 lnWord = 0;
        std::memcpy(&lnWord, apBuffer, static_cast<size_t>(qMin<int64_t>(anLength, 4)));
        mlWrites.append({anAddress, lnWord});
        mpInner->Write(apBuffer, anAddress, anLength);
    }

    // Sensor register commands: 1 reads, 2 writes the register last named.
    struct tcCounts
    {
        int mnReads = 0;
        int mnWrites = 0;      // registers other than 0
        int mnBankSelects = 0; // writes of register 0
        QList<quint32> mlBanks;
    };
    tcCounts sensorCounts() const
    {
        tcCounts lcCounts;
        quint32 lnAddress = 0, lnValue = 0;
        for (const auto& lcWrite : mlWrites)
        {
            if (lcWrite.first == 0x200)
                lnAddress = lcWrite.second;
            else if (lcWrite.first == 0x204)
                lnValue = lcWrite.second;
            else if (lcWrite.first == 0x208 && lcWrite.second == 1)
                ++lcCounts.mnReads;
            else if (lcWrite.first == 0x208 && lcWrite.second == 2 && lnAddress == 0)
            {
                ++lcCounts.mnBankSelects;
                lcCounts.mlBanks.append(lnValue);
            }
            else if (lcWrite.first == 0x208 && lcWrite.second == 2)
                ++lcCounts.mnWrites;
        }
        return lcCounts;
    }

    QList<QPair<int64_t, quint32>> mlWrites;

private:
    GenApi::IPort* mpInner;
};
