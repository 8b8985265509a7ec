#include "platform/Services.h"
#include "platform/RealServices.h"

namespace platform {

namespace {
Services* gServices = nullptr;
} // namespace

TModalResult ModalResultOfButton(TMsgDlgBtn button)
{
    switch (button) {
    case mbYes: return mrYes;
    case mbNo: return mrNo;
    case mbOK: return mrOk;
    case mbCancel: return mrCancel;
    case mbAbort: return mrAbort;
    case mbRetry: return mrRetry;
    case mbIgnore: return mrIgnore;
    case mbAll: return mrAll;
    case mbNoToAll: return mrNoToAll;
    case mbYesToAll: return mrYesToAll;
    case mbHelp: return mrHelp;
    case mbClose: return mrClose;
    }
    return mrNone;
}

QString MsgDlgTypeCaption(TMsgDlgType type)
{
    switch (type) {
    case mtWarning: return QStringLiteral("Warning");
    case mtError: return QStringLiteral("Error");
    case mtInformation: return QStringLiteral("Information");
    case mtConfirmation: return QStringLiteral("Confirmation");
    case mtCustom: break;
    }
    return QString();
}

Services& TheServices()
{
    if (gServices)
        return *gServices;
    static RealServices real;
    return real;
}

void SetServices(Services* services)
{
    gServices = services;
}

ScopedServices::ScopedServices(Services& services)
    : FPrevious(gServices)
{
    gServices = &services;
}

ScopedServices::~ScopedServices()
{
    gServices = FPrevious;
}

TModalResult MessageDlg(const QString& text, TMsgDlgType type, TMsgDlgButtons buttons, QWidget* owner)
{
    return TheServices().MessageBox(text, QString(), type, buttons, owner);
}

uint32_t GetTickCount()
{
    return TheServices().TickCount();
}

} // namespace platform
