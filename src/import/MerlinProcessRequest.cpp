#include "import/MerlinProcessRequest.h"

#include "base/AppContext.h"
#include "base/Logs.h"
#include "base/Operator.h"
#include "base/Settings.h"
#include "base/TextUtils.h"
#include "data/MerlinAddress.h"
#include "data/MerlinClient.h"
#include "data/TDM.h"

#include <exception>

MerlinProcessAnswer requestProcessDocument(AppContext& ctx, const std::string& kind, const std::string& reference,
                                           const std::string& year) {
    const std::string webService = ctx.settings.read(Settings::Dados, Settings::KeyWebService);
    // The caption shows the reference as the operator knows it, blanks as "%20".
    const std::string shownReference = replaceAll(reference, " ", "%20");
    MerlinProcessAnswer answer;
    ctx.op.waitOpen();
    ctx.op.processEvents();
    try {
        answer.address = processRequestAddress(webService, kind, reference, year);
        answer.document =
            ctx.dm.IdHTTP.requestProcess(answer.address, MerlinClient::timeoutsFromSettings(ctx.settings));
    } catch (const std::exception& e) {
        using T = MerlinProcessRequestTexts;
        answer.failure = e.what();
        ctx.logs.error(std::string(T::Procedure) + " (" + answer.address + ")", answer.failure);
        ctx.op.message(std::string(T::Headline) + "\r" + upperAscii(answer.address) + "\r" + T::Advice,
                       T::Caption + shownReference, MessageIcon::Error);
    }
    ctx.op.waitClose();
    return answer;
}
