#pragma once

#include "platform/db/recordset.h"
#include "platform/error.h"

namespace kelvane::db {

// One Edit ... Update of a recordset's current record: unless Update() returns, the record is put back as it was
// when the scope ends, and the first failure is the one that reaches the caller.
class EditScope {
public:
    explicit EditScope(Recordset& recordset) : recordset_(recordset) { recordset_.Edit(); }
    ~EditScope() {
        if (!updated_) {
            try {
                recordset_.CancelUpdate();
            } catch (const Error&) {
                // The failure that ended the edit is the one to show.
            }
        }
    }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

    void SetField(int index, const QVariant& value) { recordset_.SetField(index, value); }
    void SetField(const QString& name, const QVariant& value) { recordset_.SetField(name, value); }
    QVariant Fields(int index) const { return recordset_.Fields(index); }
    void Update() {
        recordset_.Update();
        updated_ = true;
    }

private:
    Recordset& recordset_;
    bool updated_ = false;
};

} // namespace kelvane::db
