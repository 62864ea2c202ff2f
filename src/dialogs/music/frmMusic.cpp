#include "dialogs/music/frmMusic.h"

#include "controls/CheckValue.h"
#include "settings/MusicSettings.h"

namespace vz {

frmMusic::frmMusic(Program &program)
    : Form(program), m_list1(new QListWidget(this)), m_random(new QCheckBox(this))
{
    setWindowTitle(QStringLiteral("Veroridovuz - Select Music"));
    setFixedSize(505, 258);
}

void frmMusic::Form_Load()
{
    const MusicSettings s = loadMusicSettings(program());
    if (s.randomM)
        setCheckValue(*m_random, *s.randomM);
    m_list1->addItems(s.songs);
}

} // namespace vz
