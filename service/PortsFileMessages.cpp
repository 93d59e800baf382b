#include "service/PortsFileMessages.h"

namespace q7n {

const TLocationWords RussianLocationWords{"строка", "столбец", "запись", "элемент"};
const TLocationWords EnglishLocationWords{"line", "column", "mapping", "element"};

std::string LoadLocation(const TXMLLoadResult& Load, const TLocationWords& Words) {
    std::string Text;
    auto Add = [&Text](const std::string& Part) {
        Text += Text.empty() ? Part : ", " + Part;
    };
    if (Load.Line > 0)
        Add(std::string(Words.Line) + " " + std::to_string(Load.Line) + ", " + Words.Column + " " +
            std::to_string(Load.Column));
    if (Load.Item > 0)
        Add(std::string(Words.Item) + " " + std::to_string(Load.Item));
    if (!Load.Element.empty())
        Add(std::string(Words.Element) + " <" + Load.Element + ">");
    return Text;
}

std::string UnreadableFileWarning(const TXMLLoadResult& Load) {
    std::string Text = "Не удалось прочитать файл портов \"" + Load.FilePath + "\"";
    if (!Load.Reason.empty())
        Text += ": " + Load.Reason;
    if (std::string Where = LoadLocation(Load, RussianLocationWords); !Where.empty())
        Text += " (" + Where + ")";
    Text += ".";
    if (!Load.BackupBeside.empty())
        Text += "\n\nРядом лежит резервная копия \"" + Load.BackupBeside +
                "\", оставленная прерванным сохранением: в ней может быть последнее исправное "
                "содержимое. Сохранение её не изменит.";
    Text += "\n\nРедактирование начнётся с пустого списка. Если сохранить изменения, "
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

std::string SaveRemark(const TXMLSaveResult& Save, const std::string& Path) {
    return "Файл портов \"" + Path +
           "\" сохранён, но после замены файла произошла ошибка: " + Save.Remark + ".";
}

std::string FileBusyQuestion(const std::string& Path) {
    return "Файл портов \"" + Path +
           "\" сейчас изменяет другая программа (q7nctl или другое окно конфигуратора).\n\n"
           "Повторить попытку сохранения? Если нет, ваши изменения не будут сохранены.";
}

std::string FileChangedQuestion(const std::string& Path) {
    return "Файл портов \"" + Path +
           "\" изменила другая программа после того, как вы открыли его для редактирования.\n\n"
           "Перезаписать его вашим списком? Изменения другой программы будут потеряны.\n"
           "Оставить файл как есть? Тогда не будут сохранены ваши изменения.";
}

} // namespace q7n
