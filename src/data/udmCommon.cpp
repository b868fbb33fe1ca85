#include "udmCommon.h"

#include "data/udmMain.h"
#include "platform/ClientDataSet.h"

namespace {
std::unique_ptr<TdmCommon> g_dmCommon;
} // namespace

TdmCommon::TdmCommon(QObject *parent)
    : QObject(parent), cdsCommon(new ClientDataSet(this)), cdsTemp(new ClientDataSet(this)),
      cdsTemp1(new ClientDataSet(this)), cdsTemp2(new ClientDataSet(this)),
      cdsQuesType(new ClientDataSet(this))
{
    cdsCommon->setObjectName(QStringLiteral("cdsCommon"));
    cdsTemp->setObjectName(QStringLiteral("cdsTemp"));
    cdsTemp1->setObjectName(QStringLiteral("cdsTemp1"));
    cdsTemp2->setObjectName(QStringLiteral("cdsTemp2"));
    cdsQuesType->setObjectName(QStringLiteral("cdsQuesType"));
}

TdmCommon::~TdmCommon() = default;

QString TdmCommon::photoFilter()
{
    return QStringLiteral("图片文件 (*.bmp *.jpg *.jpeg *.png *.gif);;所有文件 (*)");
}

QString TdmCommon::documentFilter()
{
    return QStringLiteral("Word 文档 (*.doc *.docx *.rtf *.odt);;所有文件 (*)");
}

TdmCommon *dmCommon()
{
    return g_dmCommon.get();
}

void SetDmCommon(std::unique_ptr<TdmCommon> module)
{
    g_dmCommon = std::move(module);
}

bool CreateDataModules()
{
    SetDmCommon(nullptr);
    SetDmMain(nullptr);
    SetDmMain(std::make_unique<TdmMain>());
    SetDmCommon(std::make_unique<TdmCommon>());
    return dmMain()->isConnected();
}

void InstallDataModules(std::unique_ptr<TdmMain> main)
{
    SetDmCommon(nullptr);
    SetDmMain(std::move(main));
    SetDmCommon(std::make_unique<TdmCommon>());
}

void FreeDataModules()
{
    SetDmCommon(nullptr);
    SetDmMain(nullptr);
}

DataModuleScope::DataModuleScope(std::unique_ptr<TdmMain> main)
{
    InstallDataModules(std::move(main));
}

DataModuleScope::~DataModuleScope()
{
    FreeDataModules();
}
