#pragma once
// The picture settings dialog, "Veroridovuz - Select Graphics".

#include "runtime/Form.h"

namespace vz {

class frmSettings : public Form
{
    Q_OBJECT
public:
    explicit frmSettings(Program &program);
};

} // namespace vz
