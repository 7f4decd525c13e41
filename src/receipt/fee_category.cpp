#include "receipt/fee_category.h"

namespace receipt {

const std::array<FeeCategory, kFeeCategoryCount> kFeeCategories = {{
    {u"床位费", u"标签7", u"编辑框2", 1, 1, &ReceiptState::bedFee, u"床位费", u"床位费："},
    {u"诊　金", u"标签8", u"编辑框3", 1, 2, &ReceiptState::consultationFee, u"诊金", u"诊　金："},
    {u"治疗费", u"标签9", u"编辑框4", 1, 3, &ReceiptState::treatmentFee, u"治疗费", u"治疗费："},
    {u"护理费", u"标签10", u"编辑框5", 1, 4, &ReceiptState::nursingFee, u"护理费", u"护理费："},
    {u"检查费", u"标签11", u"编辑框6", 2, 1, &ReceiptState::examinationFee, u"检查费", u"检查费："},
    {u"ＣＴ", u"标签12", u"编辑框7", 2, 2, &ReceiptState::ctFee, u"CT", u"CT："},
    {u"ＭＲＩ", u"标签13", u"编辑框8", 2, 3, &ReceiptState::mriFee, u"MRI", u"MRI："},
    {u"手术费", u"标签14", u"编辑框9", 2, 4, &ReceiptState::surgeryFee, u"手术费", u"手术费："},
    {u"化验费", u"标签15", u"编辑框10", 3, 1, &ReceiptState::labTestFee, u"化验费", u"化验费："},
    {u"西药费", u"标签25", u"编辑框11", 3, 2, &ReceiptState::westernMedicineFee, u"西药费",
     u"西药费："},
    {u"中成药", u"标签26", u"编辑框12", 3, 3, &ReceiptState::patentMedicineFee, u"中成药费",
     u"中成药费："},
    {u"中草药", u"标签27", u"编辑框13", 3, 4, &ReceiptState::herbalMedicineFee, u"中草药费",
     u"中草药费："},
    {u"其　他", u"标签46", u"编辑框14", 4, 1, &ReceiptState::otherFee, u"其它", u"其　他："},
    {u"麻醉费", u"标签29", u"编辑框15", 4, 2, &ReceiptState::anaesthesiaFee, u"麻醉", u"麻　醉："},
    {u"材料费", u"标签30", u"编辑框16", 4, 3, &ReceiptState::materialsFee, u"材料", u"材　料："},
    {u"陪住费", u"标签33", u"编辑框19", 4, 4, &ReceiptState::companionFee, u"陪住", u"陪　住："},
    {u"自费药", u"标签34", u"编辑框20", 5, 1, &ReceiptState::selfPaidDrugFee, u"自费药品",
     u"自费药品："},
    {u"特服费", u"标签35", u"编辑框21", 5, 2, &ReceiptState::specialServiceFee, u"特需服务费",
     u"特服费："},
    {u"杂　费", u"标签36", u"编辑框22", 5, 3, &ReceiptState::miscFee, u"杂费", u"杂费："},
}};

QString FeeCategory::name() const {
    QString name = statisticsLabel.chopped(1).toString();
    name.remove(QChar(u'\u3000'));
    return name;
}

QString shownFieldName(QStringView fieldName) {
    for (const FeeCategory& category : kFeeCategories) {
        if (category.fieldName == fieldName) {
            return category.name();
        }
    }
    return fieldName.toString();
}

}  // namespace receipt
