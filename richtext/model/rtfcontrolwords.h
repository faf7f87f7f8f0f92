#pragma once
// The RTF control words the reader acts on, and their lookup by name.

#include <QByteArrayView>

namespace postavo::richtext::detail {

enum class W {
    Unknown,
    // document
    Rtf, Ansi, Mac, Pc, Pca, Ansicpg, Deff, Uc, U, Deftab,
    Paperw, Paperh, Margl, Margr, Margt, Margb,
    Pgwsxn, Pghsxn, Marglsxn, Margrsxn, Margtsxn, Margbsxn,
    Sect, Sectd, Sbknone, Sbkcol, Sbkpage, Sbkeven, Sbkodd,
    // destinations
    Fonttbl, Colortbl, Pict, Shppict, Nonshppict, Fldrslt, Result, Object, Shp,
    Listtext, Pntext, Listtable, Header, Footnote, Annotation, SkipDest,
    // font table
    F, Fcharset, Cpg, Fprq, Fnil, Froman, Fswiss, Fmodern, Fscript, Fdecor, Ftech, Fbidi,
    // colour table
    Red, Green, Blue,
    // character
    Plain, Fs, B, I, Ul, Uld, Uldash, Ulwave, Ulnone, Strike, Cf, Cb, Super, Sub, Nosupersub,
    Up, Dn, Caps, Scaps, V,
    // paragraph
    Pard, Ql, Qr, Qc, Qj, Li, Ri, Fi, Sb, Sa, Sl, Slmult, Tx, Tqr, Tqc, Tqdec, Tb, Intbl, Itap,
    Pagebb,
    // special characters
    Par, Line, Tab, Page, Emdash, Endash, Emspace, Enspace, Qmspace, Bullet, Lquote, Rquote,
    Ldblquote, Rdblquote, Zwj, Zwnj, Ltrmark, Rtlmark, Bin,
    // tables
    Trowd, Cellx, Cell, Row, Nestcell, Trgaph, Trleft, Trql, Trqc, Trqr,
    Clbrdrt, Clbrdrl, Clbrdrb, Clbrdrr, OtherBorder, Brdrw, Brdrcf, Brdrs, Brdrnone,
    Clcbpat, Clvertalt, Clvertalc, Clvertalb, Clvmgf, Clvmrg,
    // pictures
    Picw, Pich, Picwgoal, Pichgoal, Picscalex, Picscaley, Pngblip, Jpegblip, Wmetafile,
    Emfblip, Dibitmap, OtherPicture,
};

// W::Unknown for a word the reader does not act on.
W lookupControlWord(QByteArrayView word);

} // namespace postavo::richtext::detail
