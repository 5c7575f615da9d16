#pragma once

#include <GenApi/GenApi.h>

// The feature a widget is bound to and the one callback it registered on it.
// The registration is removed when the binding changes or goes away.
class tcNodeCallback
{
public:
    tcNodeCallback() = default;
    tcNodeCallback(const tcNodeCallback&) = delete;
    tcNodeCallback& operator=(const tcNodeCallback&) = delete;
    ~tcNodeCallback() { release(); }

    GenApi::INode* node() const { return mpNode; }
    // Drops the registration and binds another feature (or none).
    void bind(GenApi::INode* apNode)
    {
        release();
        mpNode = apNode;
    }
    // Registers once per binding: a refresh caused by the callback itself
    // must not add another.
    template <class tcTarget>
    void registerOnce(tcTarget& arTarget, void (tcTarget::*apMethod)(GenApi::INode*))
    {
        if (!mnHandle && mpNode)
            mnHandle = GenApi::Register(mpNode, arTarget, apMethod, GenApi::cbPostInsideLock);
    }
    void release()
    {
        if (mnHandle)
            GenApi::Deregister(mnHandle);
        mnHandle = 0;
    }

private:
    GenApi::INode* mpNode = nullptr;
    GenApi::CallbackHandleType mnHandle = 0;
};
