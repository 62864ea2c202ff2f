#pragma once
// The music settings dialog, "Veroridovuz - Select Music".

#include "runtime/Form.h"

namespace vz {

class frmMusic : public Form
{
    Q_OBJECT
public:
    explicit frmMusic(Program &program);
};

} // namespace vz
