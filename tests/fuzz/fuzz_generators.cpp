// The device description generators (GSD, EDS, MIB, EDE) over the files they read: the input is
// given to each of them as every file it reads.
#include "FuzzSupport.h"

#include "core/UBACnet_EDE_File.h"
#include "core/UComon.h"
#include "core/UEds.h"
#include "core/UProfibus_GSD.h"
#include "core/USNMP_MIB.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    kt_fuzz::Start(argc, argv);
    Active_Conf_Path = kt_fuzz::Path(QString());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QString input = kt_fuzz::Path(QStringLiteral("input.xml"));
    kt_fuzz::Put(input, kt_fuzz::Bytes(data, size));
    File_ParGen = File_PDO_CANopen = File_SDO_Server_CANopen = File_SNMP_Trap = File_BACnet_Slave = input;
    using Generator = void (*)();
    const Generator generators[] = {Create_GSD_File, Build_EDS_File, Build_MIB_File, BACnet_EDE_File};
    const char* outputs[] = {"out.gsd", "out.eds", "out.mib", "out.csv"};
    for (int i = 0; i < 4; ++i) {
        kt_fuzz::Clear_Services();
        kt_fuzz::Services().SaveDialogAnswers << kt_fuzz::Path(QLatin1String(outputs[i]));
        // Overwrite questions are answered Yes.
        for (int k = 0; k < 4; ++k)
            kt_fuzz::Services().MessageBoxAnswers << platform::mrYes;
        generators[i]();
    }
    return 0;
}
