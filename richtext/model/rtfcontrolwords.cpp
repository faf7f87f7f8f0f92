#include "rtfcontrolwords.h"

#include <string_view>
#include <unordered_map>

namespace postavo::richtext::detail {

namespace {

const std::unordered_map<std::string_view, W>& wordTable()
{
    static const std::unordered_map<std::string_view, W> table = [] {
        std::unordered_map<std::string_view, W> t;
        const std::pair<const char*, W> list[] = {
            {"rtf", W::Rtf}, {"ansi", W::Ansi}, {"mac", W::Mac}, {"pc", W::Pc}, {"pca", W::Pca},
            {"ansicpg", W::Ansicpg}, {"deff", W::Deff}, {"uc", W::Uc}, {"u", W::U},
            {"deftab", W::Deftab}, {"paperw", W::Paperw}, {"paperh", W::Paperh},
            {"margl", W::Margl}, {"margr", W::Margr}, {"margt", W::Margt}, {"margb", W::Margb},
            {"pgwsxn", W::Pgwsxn}, {"pghsxn", W::Pghsxn}, {"marglsxn", W::Marglsxn},
            {"margrsxn", W::Margrsxn}, {"margtsxn", W::Margtsxn}, {"margbsxn", W::Margbsxn},
            {"sect", W::Sect}, {"sectd", W::Sectd}, {"sbknone", W::Sbknone}, {"sbkcol", W::Sbkcol},
            {"sbkpage", W::Sbkpage}, {"sbkeven", W::Sbkeven}, {"sbkodd", W::Sbkodd},
            {"fonttbl", W::Fonttbl}, {"colortbl", W::Colortbl}, {"pict", W::Pict},
            {"shppict", W::Shppict}, {"nonshppict", W::Nonshppict}, {"fldrslt", W::Fldrslt},
            {"result", W::Result}, {"object", W::Object}, {"shp", W::Shp},
            {"listtext", W::Listtext}, {"pntext", W::Pntext}, {"listtable", W::Listtable},
            {"header", W::Header}, {"headerl", W::Header}, {"headerr", W::Header},
            {"headerf", W::Header}, {"footer", W::Header}, {"footerl", W::Header},
            {"footerr", W::Header}, {"footerf", W::Header}, {"footnote", W::Footnote},
            {"annotation", W::Annotation}, {"atnid", W::Annotation}, {"atnauthor", W::Annotation},
            // Destinations that carry no text of the document.
            {"stylesheet", W::SkipDest}, {"info", W::SkipDest}, {"fldinst", W::SkipDest},
            {"xe", W::SkipDest}, {"tc", W::SkipDest}, {"txe", W::SkipDest}, {"rxe", W::SkipDest},
            {"template", W::SkipDest}, {"listoverridetable", W::SkipDest}, {"revtbl", W::SkipDest},
            {"rsidtbl", W::SkipDest}, {"filetbl", W::SkipDest}, {"pn", W::SkipDest},
            {"pntxta", W::SkipDest}, {"pntxtb", W::SkipDest}, {"objdata", W::SkipDest},
            {"objclass", W::SkipDest}, {"objname", W::SkipDest}, {"objalias", W::SkipDest},
            {"shpinst", W::SkipDest}, {"shptxt", W::SkipDest}, {"bkmkstart", W::SkipDest},
            {"bkmkend", W::SkipDest}, {"ftnsep", W::SkipDest}, {"ftnsepc", W::SkipDest},
            {"ftncn", W::SkipDest}, {"aftnsep", W::SkipDest}, {"aftnsepc", W::SkipDest},
            {"aftncn", W::SkipDest}, {"private", W::SkipDest}, {"docvar", W::SkipDest},
            {"userprops", W::SkipDest}, {"pgdsctbl", W::SkipDest}, {"do", W::SkipDest},
            {"falt", W::SkipDest}, {"panose", W::SkipDest}, {"pnseclvl", W::SkipDest},
            {"nesttableprops", W::SkipDest}, {"background", W::SkipDest}, {"sp", W::SkipDest},
            {"sn", W::SkipDest}, {"sv", W::SkipDest}, {"author", W::SkipDest},
            {"operator", W::SkipDest}, {"title", W::SkipDest}, {"subject", W::SkipDest},
            {"keywords", W::SkipDest}, {"comment", W::SkipDest}, {"doccomm", W::SkipDest},
            {"company", W::SkipDest}, {"category", W::SkipDest}, {"manager", W::SkipDest},
            {"creatim", W::SkipDest}, {"revtim", W::SkipDest}, {"printim", W::SkipDest},
            {"buptim", W::SkipDest}, {"xmlnstbl", W::SkipDest}, {"themedata", W::SkipDest},
            {"colorschememapping", W::SkipDest}, {"latentstyles", W::SkipDest},
            {"datastore", W::SkipDest}, {"generator", W::SkipDest}, {"fontemb", W::SkipDest},
            {"fontfile", W::SkipDest}, {"fname", W::SkipDest}, {"picprop", W::SkipDest},
            {"blipuid", W::SkipDest}, {"listpicture", W::SkipDest}, {"formfield", W::SkipDest},
            {"datafield", W::SkipDest}, {"mmathPr", W::SkipDest}, {"wgrffmtfilter", W::SkipDest},
            {"f", W::F}, {"fcharset", W::Fcharset}, {"cpg", W::Cpg}, {"fprq", W::Fprq},
            {"fnil", W::Fnil}, {"froman", W::Froman}, {"fswiss", W::Fswiss},
            {"fmodern", W::Fmodern}, {"fscript", W::Fscript}, {"fdecor", W::Fdecor},
            {"ftech", W::Ftech}, {"fbidi", W::Fbidi},
            {"red", W::Red}, {"green", W::Green}, {"blue", W::Blue},
            {"plain", W::Plain}, {"fs", W::Fs}, {"b", W::B}, {"i", W::I}, {"ul", W::Ul},
            {"uld", W::Uld}, {"uldash", W::Uldash}, {"uldashd", W::Uldash},
            {"uldashdd", W::Uldash}, {"ulwave", W::Ulwave}, {"ululdbwave", W::Ulwave},
            {"uldb", W::Ul}, {"ulth", W::Ul}, {"ulw", W::Ul}, {"ulnone", W::Ulnone},
            {"strike", W::Strike}, {"striked", W::Strike}, {"cf", W::Cf}, {"cb", W::Cb},
            {"highlight", W::Cb}, {"chcbpat", W::Cb}, {"super", W::Super}, {"sub", W::Sub},
            {"nosupersub", W::Nosupersub}, {"up", W::Up}, {"dn", W::Dn}, {"caps", W::Caps},
            {"scaps", W::Scaps}, {"v", W::V},
            {"pard", W::Pard}, {"ql", W::Ql}, {"qr", W::Qr}, {"qc", W::Qc}, {"qj", W::Qj},
            {"qd", W::Qj}, {"li", W::Li}, {"lin", W::Li}, {"ri", W::Ri}, {"rin", W::Ri},
            {"fi", W::Fi}, {"sb", W::Sb}, {"sa", W::Sa}, {"sl", W::Sl}, {"slmult", W::Slmult},
            {"tx", W::Tx}, {"tqr", W::Tqr}, {"tqc", W::Tqc}, {"tqdec", W::Tqdec}, {"tb", W::Tb},
            {"intbl", W::Intbl}, {"itap", W::Itap}, {"pagebb", W::Pagebb},
            {"par", W::Par}, {"line", W::Line}, {"tab", W::Tab}, {"page", W::Page},
            {"emdash", W::Emdash}, {"endash", W::Endash}, {"emspace", W::Emspace},
            {"enspace", W::Enspace}, {"qmspace", W::Qmspace}, {"bullet", W::Bullet},
            {"lquote", W::Lquote}, {"rquote", W::Rquote}, {"ldblquote", W::Ldblquote},
            {"rdblquote", W::Rdblquote}, {"zwj", W::Zwj}, {"zwnj", W::Zwnj},
            {"ltrmark", W::Ltrmark}, {"rtlmark", W::Rtlmark}, {"bin", W::Bin},
            {"trowd", W::Trowd}, {"cellx", W::Cellx}, {"cell", W::Cell}, {"row", W::Row},
            {"nestcell", W::Nestcell}, {"trgaph", W::Trgaph}, {"trleft", W::Trleft},
            {"trql", W::Trql}, {"trqc", W::Trqc}, {"trqr", W::Trqr},
            {"clbrdrt", W::Clbrdrt}, {"clbrdrl", W::Clbrdrl}, {"clbrdrb", W::Clbrdrb},
            {"clbrdrr", W::Clbrdrr}, {"trbrdrt", W::OtherBorder}, {"trbrdrl", W::OtherBorder},
            {"trbrdrb", W::OtherBorder}, {"trbrdrr", W::OtherBorder}, {"trbrdrh", W::OtherBorder},
            {"trbrdrv", W::OtherBorder}, {"brdrt", W::OtherBorder}, {"brdrb", W::OtherBorder},
            {"brdrl", W::OtherBorder}, {"brdrr", W::OtherBorder}, {"brdrbtw", W::OtherBorder},
            {"brdrbar", W::OtherBorder}, {"box", W::OtherBorder}, {"chbrdr", W::OtherBorder},
            {"brdrw", W::Brdrw}, {"brdrcf", W::Brdrcf}, {"brdrs", W::Brdrs}, {"brdrth", W::Brdrs},
            {"brdrdb", W::Brdrs}, {"brdrdot", W::Brdrs}, {"brdrdash", W::Brdrs},
            {"brdrsh", W::Brdrs}, {"brdrhair", W::Brdrs}, {"brdrnone", W::Brdrnone},
            {"brdrnil", W::Brdrnone}, {"brdrtbl", W::Brdrnone}, {"clcbpat", W::Clcbpat},
            {"clvertalt", W::Clvertalt}, {"clvertalc", W::Clvertalc}, {"clvertalb", W::Clvertalb},
            {"clvmgf", W::Clvmgf}, {"clvmrg", W::Clvmrg},
            {"picw", W::Picw}, {"pich", W::Pich}, {"picwgoal", W::Picwgoal},
            {"pichgoal", W::Pichgoal}, {"picscalex", W::Picscalex}, {"picscaley", W::Picscaley},
            {"pngblip", W::Pngblip}, {"jpegblip", W::Jpegblip}, {"wmetafile", W::Wmetafile},
            {"emfblip", W::Emfblip}, {"dibitmap", W::Dibitmap}, {"wbitmap", W::OtherPicture},
            {"macpict", W::OtherPicture}, {"pmmetafile", W::OtherPicture},
        };
        for (const auto& [name, w] : list)
            t.emplace(name, w);
        return t;
    }();
    return table;
}

} // namespace

W lookupControlWord(QByteArrayView word)
{
    const auto& t = wordTable();
    const auto it = t.find(std::string_view(word.data(), size_t(word.size())));
    return it == t.end() ? W::Unknown : it->second;
}

} // namespace postavo::richtext::detail
