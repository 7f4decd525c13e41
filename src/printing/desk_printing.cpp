#include "printing/desk_printing.h"

#include "printing/form_picture.h"

namespace printing {

platform::DeskPrinting deskPrinting(const PrintSettings& settings, QString* problem) {
    platform::DeskPrinting desk{settings.printerName, settings.offset, {}};
    if (!settings.formPicture.isEmpty()) {
        const QImage picture = readFormPicture(settings.formPicture, problem);
        if (!picture.isNull()) {
            desk.form = {fitFormPicture(picture, settings.formArea), settings.formArea};
        }
    }
    return desk;
}

}  // namespace printing
