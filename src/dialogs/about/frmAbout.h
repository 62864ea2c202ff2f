#pragma once
// The About dialog: title, version, description, links and the system
// information tool.

#include "runtime/Form.h"

namespace vz {

class frmAbout : public Form
{
    Q_OBJECT
public:
    explicit frmAbout(Program &program);
};

} // namespace vz
