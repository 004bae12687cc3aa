#include "laudofixture.h"

#include <QApplication>

using namespace talvera;
using namespace talvera::test;

TEST_F(LaudoFormTest, Scratch)
{
    typeNewLaudo();
    form->grab().save("/tmp/laudo.png");
    providers->show();
    providers->grab().save("/tmp/conprest.png");
}
TEST_F(LaudoFormTest, Scratch2)
{
    typeNewLaudo();
    form->cbCaraterExit();
    form->cbEspecExit();
    form->edCpfsolicitaExit();
    form->chAih->setChecked(true);
    form->chPrest->setChecked(true);
    form->rgPesq->setItemIndex(0);
    form->btPesqClick();
    QApplication::processEvents();
    form->grab().save("/tmp/laudo2.png");
}
