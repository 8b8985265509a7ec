// The device image compiler over the parameters, S7comm and OPC UA files. The input holds the
// three files one after the other, each ended by a line "====".
#include "FuzzSupport.h"

#include "core/USaveBincc.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    QDir().mkpath(kt_fuzz::Path(QStringLiteral("conf")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString names[3] = {kt_fuzz::Path(QStringLiteral("conf/ParGen.xml")),
                                     kt_fuzz::Path(QStringLiteral("conf/S7_Protocol.xml")),
                                     kt_fuzz::Path(QStringLiteral("conf/OPC_UA_Server.xml"))};
    const QList<QByteArray> parts = kt_fuzz::Bytes(data, size).split('\n');
    QByteArray files[3];
    int k = 0;
    for (const QByteArray& line : parts) {
        if (line == "====") {
            if (++k == 3)
                break;
            continue;
        }
        files[k] += line + '\n';
    }
    for (int i = 0; i < 3; ++i) {
        if (files[i].isEmpty())
            QFile::remove(names[i]);
        else
            kt_fuzz::Put(names[i], files[i]);
    }
    TSaveBincc compiler;
    try {
        compiler.Compile_Banks(names[0], names[1], names[2]);
        compiler.Save_Banks(kt_fuzz::Path(QStringLiteral("conf")));
    } catch (const ECompileError&) {
        // refused with a message: what the compiler does with a file it cannot use
    }
    return 0;
}
