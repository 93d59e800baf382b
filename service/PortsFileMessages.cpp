#include "PortsFileMessages.h"

namespace q7n {

std::string UnreadableFileWarning(const TXMLLoadResult& Load) {
    std::string Text = "Не удалось прочитать файл портов \"" + Load.FilePath + "\"";
    if (!Load.Reason.empty())
        Text += ": " + Load.Reason;
    Text += ".\n\nРедактирование начнётся с пустого списка. Если сохранить изменения, "
            "нечитаемый файл будет сохранён под именем \"" +
            TXMLOptionsSerializer::RejectedCopyPath(Load.FilePath) + "\".";
    return Text;
}

std::string SaveFailure(const TXMLSaveResult& Save, const std::string& Path) {
    std::string Text = "Не удалось сохранить файл портов \"" + Path + "\"";
    if (!Save.Reason.empty())
        Text += ": " + Save.Reason;
    return Text + ".\n\nПрежний файл оставлен без изменений.";
}

} // namespace q7n
