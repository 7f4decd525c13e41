#include "register/void_receipt.h"

#include "common/text.h"
#include "platform/services.h"
#include "register/void_dialog.h"
#include "store/receipt_void.h"
#include "store/schema.h"
#include "widgets/message_boxes.h"

namespace receipt_register {

namespace {

QString issuerOf(const QVariantList& values) {
    return values.value(store::receiptSchema().indexOf(store::kCashierField)).toString();
}

}  // namespace

QString voidForbiddenReason(const QVariantList& values, const QString& cashier) {
    const QString issuer = issuerOf(values);
    return common::textEquals(issuer, cashier)
               ? QString()
               : QStringLiteral("这张收据由收费员%1开具，只有开具的收费员可以作废。").arg(issuer);
}

bool voidShownReceipt(QWidget* parent, const platform::Services& services,
                      store::Database& database, const QString& cashier,
                      const store::LoadedReceipt& shown) {
    const auto field = [&shown](QStringView name) {
        return shown.values.value(store::receiptSchema().indexOf(name)).toString();
    };
    // Asked before any reason is typed; the void itself checks again against the stored receipt.
    const QString issuer = issuerOf(shown.values);
    if (!common::textEquals(issuer, cashier)) {
        services.messageBoxes.show(
            parent,
            widgets::errorMessage(voidRefusalMessage({store::VoidOutcome::NotIssuer, issuer, {}})));
        return false;
    }
    const QString number = field(store::kInpatientNumberField);
    const std::optional<QString> reason =
        askVoidReason(services.messageBoxes, number, field(store::kPatientNameField), parent);
    if (!reason) {
        return false;
    }
    const store::VoidResult result = store::voidReceipt(database, shown, cashier, *reason);
    if (result.outcome != store::VoidOutcome::Voided) {
        services.messageBoxes.show(parent, widgets::errorMessage(voidRefusalMessage(result)));
        return false;
    }
    services.messageBoxes.show(
        parent, {QStringLiteral("住院号为 %1 的收据已作废。").arg(number), QStringLiteral("作废"),
                 widgets::MessageButtons::Ok, widgets::MessageIcon::Information});
    return true;
}

}  // namespace receipt_register
