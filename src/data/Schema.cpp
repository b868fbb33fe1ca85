#include "Schema.h"

namespace Schema {

namespace {

// Compact table descriptions: "name: column kind, ..." with kinds I integer, T<n> text of n characters,
// M long text, N number, D date-time, B blob; a leading '*' marks the key column.
const char *const kTables[] = {
    // Function menu and access
    "gncd: *cdbh T10, sjcdbh T10, cdmc T50, mknm T50, sfydymk T1, sfsy T1",
    "js: *jslsh I, jsmc T50",
    "jsgnqx: cdbh T10, jslsh I",
    "ryzyzlqx: rylsh I, zyzllsh I",
    // Organisation and personnel
    "bm: *bmlsh I, bm_bmlsh I, bmmc T20, bmdm T8, sfsczz T1, jb I, xssx I, bmms M",
    "gw: *gwlsh I, bmlsh I, gwmc T50, gwxz T50, gwdm T20, xssx I, gwms M",
    "ry: *rylsh I, bmlsh I, ryxm T50, zggh T50, sfzh T18, zzqklsh I, xb T1, hf T1, jg T10, mz T10, zzmm T10, "
    "zw T20, shbzh T30, lxdh T20, cjgzsj D, xllsh I, lbqysj D, xw T20, txsj D, zclsh I, zy T50, zcdjlsh I, "
    "gjlsh I, txdz T50, byyx T50, rylxlsh I, glrylxlsh I, dlzh T20, dlmm T50, zyzllsh I, jndjlsh I, sfjzpxy "
    "T1, "
    "sfjxjyry T1, sfkpsczgj T1, sftkgly T1, gwlsh I, pxyjb I, kypssj D, jdsj D, jslsh I",
    "ryzp: rylsh I, zp B",
    "xl: *xllsh I, xlmc T50",
    "zc: *zclsh I, zcmc T50",
    "zcdj: *zcdjlsh I, zcdjmc T50",
    "gj: *gjlsh I, gjmc T50",
    "rylx: *rylxlsh I, rylxmc T50",
    "glrylx: *glrylxlsh I, glrylxmc T50",
    "jndj: *jndjlsh I, jndjmc T50",
    "zzqkb: *zzqklsh I, zzqk T50",
    // Question bank reference
    "zyzl: *zyzllsh I, zyzlmc T50, gwlxlsh I",
    "dj: *djlsh I, djmc T20",
    "lb: *lblsh I, lbmc T20",
    "tx: *txlsh I, txmc T50, xssx I, mrfz N",
    "nd: *ndlsh I, ndmc T20, xssx I",
    "km: *kmlsh I, zyzllsh I, djlsh I, lblsh I, kmbm T20, kmmc T100, khfslsh I, pxfslsh I, pxxs N",
    "mk: *mklsh I, mkbm T20, mkmc T100",
    "kmmkgxb: mklsh I, kmlsh I",
    "nlzl: *nlzllsh I, zyzllsh I, nlzlxh T10, nlzlmc T100",
    "nlx: *nlxlsh I, nlzllsh I, nlxbh I, nlxbm T20, nlxmc T100",
    "nlxdjgxb: *nlxdjgxlsh I, nlxlsh I, djlsh I, nlxdjbm T40, nlxdjms M",
    "kmnlxgxb: kmlsh I, nlxdjgxlsh I",
    // Questions
    "st: *stlsh I, mklsh I, txlsh I, ndlsh I, stnr B, stda B, stnrwz T255, fs N, stzt T1, llr T50, llsj T20, "
    "zjxgr T50, zjxgsj T20, shr T50, shsj T30, sfxz T1",
    "stsyjl: stlsh I, sjmc T100, zjr T50, sysj T20, zjfs T20",
    // Paper plans and papers
    "zjjh: *zjjhlsh I, zjjhmc T100, zyzllsh I, djlsh I, lblsh I, zdrq T20",
    "zjjhkmndgxb: zjjhlsh I, kmlsh I, ndlsh I",
    "zjjhtxfb: zjjhlsh I, txlsh I, sdtl I",
    "sj: *sjlsh I, sjmc T100, zjr T50, zjrq T20, zjjhlsh I, sflxsj T1, wzj B, stj B, daj B, hbj B",
    "sjstgxb: sjlsh I, stlsh I, stsxh I",
    // Exams
    "ksjh: *ksjhlsh I, ksmc T100, kslx T1, zdrq D, ksksrq D, ksjsrq D, ksys I, sfzdjtsj T1, ksjtsj D, jsjtsj "
    "D",
    "kssjgxb: *kssjgxlsh I, ksjhlsh I, sjlsh I",
    "kssjrygxb: kssjgxlsh I, rylsh I, ksmm T4, ksdtsj D, jjsj D, ztsc I, kszt T1, kgtdf N, zgtdf N, zdf N",
    "ksdab: kssjgxlsh I, rylsh I, sjlsh I, stlsh I, ksda B, gtdf N",
    // Practice
    "wslxjl: *wslxjllsh I, rylsh I, sjmc T100, zyzllsh I, djlsh I, kssj D, jssj D, lxsc I, lxfs N, lxlx T1",
    // Auxiliary
    "dhb: hs T255",
};

// Indexes on the columns the lists join and filter on. The program relies on none of them.
const char *const kIndexes[] = {
    "ix_jsgnqx_jslsh on jsgnqx (jslsh)",
    "ix_ry_dlzh on ry (dlzh)",
    "ix_st_mklsh on st (mklsh)",
    "ix_kmmkgxb_mklsh on kmmkgxb (mklsh)",
    "ix_kmmkgxb_kmlsh on kmmkgxb (kmlsh)",
    "ix_sjstgxb_sjlsh on sjstgxb (sjlsh)",
    "ix_kssjrygxb_ry on kssjrygxb (kssjgxlsh, rylsh)",
    "ix_ksdab_ry on ksdab (kssjgxlsh, rylsh)",
    "ix_stsyjl_stlsh on stsyjl (stlsh)",
};

QList<Table> parse()
{
    QList<Table> out;
    for (const char *description : kTables) {
        const QString s = QString::fromLatin1(description);
        const int colon = s.indexOf(QLatin1Char(':'));
        Table t;
        t.name = s.left(colon).trimmed();
        for (QString part : s.mid(colon + 1).split(QLatin1Char(','))) {
            part = part.trimmed();
            const QStringList p = part.split(QLatin1Char(' '));
            Column c;
            c.name = p[0];
            if (c.name.startsWith(QLatin1Char('*'))) {
                c.name = c.name.mid(1);
                t.key = c.name;
            }
            const QString k = p[1];
            switch (k[0].toLatin1()) {
            case 'I':
                c.kind = Kind::Integer;
                break;
            case 'T':
                c.kind = Kind::Text;
                c.length = k.mid(1).toInt();
                break;
            case 'M':
                c.kind = Kind::Memo;
                break;
            case 'N':
                c.kind = Kind::Number;
                break;
            case 'D':
                c.kind = Kind::DateTime;
                break;
            default:
                c.kind = Kind::Blob;
                break;
            }
            t.columns << c;
        }
        out << t;
    }
    return out;
}

QString columnType(const Dialect &d, const Column &c)
{
    switch (c.kind) {
    case Kind::Integer:
        return d.integerType();
    case Kind::Text:
        return d.textType(c.length);
    case Kind::Memo:
        return d.memoType();
    case Kind::Number:
        return d.numberType();
    case Kind::DateTime:
        return d.dateTimeType();
    case Kind::Blob:
        break;
    }
    return d.blobType();
}

} // namespace

const Column *Table::column(const QString &name) const
{
    for (const Column &c : columns) {
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    }
    return nullptr;
}

const QList<Table> &tables()
{
    static const QList<Table> all = parse();
    return all;
}

const Table *findTable(const QString &name)
{
    for (const Table &t : tables()) {
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    }
    return nullptr;
}

QStringList createStatements(DbEngine engine)
{
    const Dialect &d = Dialect::of(engine);
    QStringList out;
    for (const Table &t : tables()) {
        QStringList cols;
        for (const Column &c : t.columns) {
            QString def = c.name + QLatin1Char(' ') + columnType(d, c);
            if (c.name == t.key)
                def += QStringLiteral(" not null primary key");
            cols << def;
        }
        out << QStringLiteral("create table %1 (%2)").arg(t.name, cols.join(QStringLiteral(", ")));
    }
    for (const char *ix : kIndexes)
        out << QStringLiteral("create index ") + QString::fromLatin1(ix);
    return out;
}

QStringList dropStatements(DbEngine engine)
{
    QStringList out;
    for (const Table &t : tables()) {
        if (engine == DbEngine::SqlServer)
            out << QStringLiteral("if object_id('%1', 'U') is not null drop table %1").arg(t.name);
        else
            out << QStringLiteral("drop table if exists %1").arg(t.name);
    }
    return out;
}

QString sqlServerScript()
{
    QString s =
        QStringLiteral("-- Lumora database for SQL Server. Generated by: lumora-admin schema-sql sqlserver\n"
                       "-- Create the database first (create database korvax), then run this script in it.\n"
                       "-- Reference rows: lumora-admin reference-sql sqlserver.\n\n");
    for (const QString &stmt : createStatements(DbEngine::SqlServer))
        s += stmt + QStringLiteral("\nGO\n");
    return s;
}

} // namespace Schema
