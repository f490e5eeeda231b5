#include "import/MerlinProcessRequest.h"

#include "app/AppContext.h"
#include "app/Logs.h"
#include "app/Operator.h"
#include "app/Settings.h"
#include "app/TextUtils.h"
#include "data/TDM.h"
#include "import/MerlinAddress.h"
#include "import/MerlinClient.h"

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
