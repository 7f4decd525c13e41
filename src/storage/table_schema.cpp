#include "storage/table_schema.h"

namespace storage {

int TableSchema::indexOf(QStringView columnName) const {
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name == columnName) {
            return i;
        }
    }
    return -1;
}

}  // namespace storage
