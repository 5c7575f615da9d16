#pragma once
#include <GenApi/INode.h>

namespace GenApi
{

// A callable attached to a node; fired when the node's value may have changed.
class CNodeCallback
{
public:
    CNodeCallback(INode* pNode, ECallbackType CallbackType) : mpNode(pNode), meCallbackType(CallbackType) {}
    virtual ~CNodeCallback() = default;
    CNodeCallback(const CNodeCallback&) = delete;
    CNodeCallback& operator=(const CNodeCallback&) = delete;

    virtual void operator()(ECallbackType CallbackType) const = 0;
    virtual void Destroy() = 0;

    INode* GetNode() const { return mpNode; }
    ECallbackType GetCallbackType() const { return meCallbackType; }

protected:
    INode* mpNode;
    ECallbackType meCallbackType;
};

template <class Function> class Function_NodeCallback : public CNodeCallback
{
public:
    Function_NodeCallback(INode* pNode, const Function& function, ECallbackType CallbackType)
        : CNodeCallback(pNode, CallbackType), mcFunction(function)
    {
    }
    void operator()(ECallbackType CallbackType) const override
    {
        if (CallbackType == meCallbackType)
            mcFunction(mpNode);
    }
    void Destroy() override { delete this; }

private:
    Function mcFunction;
};

template <class Client, class Member> class Member_NodeCallback : public CNodeCallback
{
public:
    Member_NodeCallback(INode* pNode, Client& client, Member member, ECallbackType CallbackType)
        : CNodeCallback(pNode, CallbackType), mrClient(client), mpMember(member)
    {
    }
    void operator()(ECallbackType CallbackType) const override
    {
        if (CallbackType == meCallbackType && mpMember)
            (mrClient.*mpMember)(mpNode);
    }
    void Destroy() override { delete this; }

private:
    Client& mrClient;
    Member mpMember;
};

template <class Function>
CNodeCallback* make_NodeCallback(INode* pNode, Function function, ECallbackType CallbackType)
{
    return new Function_NodeCallback<Function>(pNode, function, CallbackType);
}

template <class Client, class Member>
CNodeCallback* make_NodeCallback(INode* pNode, Client& client, Member member, ECallbackType CallbackType)
{
    return new Member_NodeCallback<Client, Member>(pNode, client, member, CallbackType);
}

// The node takes ownership of the callback object when registering it.
template <class Function>
CallbackHandleType Register(INode* pNode, Function function, ECallbackType CallbackType = cbPostInsideLock)
{
    if (!pNode)
        throw LOGICAL_ERROR_EXCEPTION("NULL pointer dereferenced");
    return pNode->RegisterCallback(make_NodeCallback(pNode, function, CallbackType));
}

template <class Client, class Member>
CallbackHandleType Register(INode* pNode, Client& client, Member member,
                            ECallbackType CallbackType = cbPostInsideLock)
{
    if (!pNode)
        throw LOGICAL_ERROR_EXCEPTION("NULL pointer dereferenced");
    return pNode->RegisterCallback(make_NodeCallback(pNode, client, member, CallbackType));
}

// Removes a registration; safe to call after the node map is gone, and with a
// handle that was already removed (then it does nothing).
void Deregister(CallbackHandleType hCallback);

} // namespace GenApi
