# bash completion for leafmill and leafmill-cli (installed under both names,
# as bash-completion loads a command's completion by the command's name)

_leafmill()
{
    local cur prev words cword
    _init_completion || return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--help --version' -- "$cur"))
        return
    fi
    _filedir '@(txt|text|htm|html|asp|php|rtf|doc|docx|docm|dotx|odt|fodt|epub|pdf|mobi|azw3|azw|prc|pdb|chm|djvu|djv)'
} &&
    complete -F _leafmill leafmill

_leafmill_cli()
{
    local cur prev words cword split
    _init_completion -s || return
    case $prev in
    --book | --page-size | --remove)
        return
        ;;
    --out | --check | --send | --next-volume | --to)
        _filedir -d
        return
        ;;
    --settings)
        _filedir ini
        return
        ;;
    --text)
        _filedir
        return
        ;;
    --format)
        COMPREPLY=($(compgen -W 'txt text htm html asp php rtf doc docx docm dotx odt fodt epub pdf mobi azw3 azw prc pdb chm djvu djv fb2 fb2.zip fbz md markdown txtz htmlz' -- "$cur"))
        return
        ;;
    --encoding)
        COMPREPLY=($(compgen -W 'Latin-1 MacRoman GB2312 Big5 Shift_JIS EUC-KR UTF-8' -- "$cur"))
        return
        ;;
    --source-encoding)
        COMPREPLY=($(compgen -W 'auto UTF-8 GBK GB18030 Big5 Shift_JIS EUC-JP EUC-KR windows-1250 windows-1251
            windows-1252 KOI8-R IBM866 UTF-16LE' -- "$cur"))
        return
        ;;
    esac
    $split && return
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--book= --out= --text= --check= --settings= --format= --page-size= --encoding=
            --source-encoding= --ipods --send= --remove= --next-volume= --to=
            --links --no-links --titles --no-titles --contents --no-contents --chapter-pages
            --no-chapter-pages --join-lines --no-join-lines -h --help --version' -- "$cur"))
        [[ ${COMPREPLY-} == *= ]] && compopt -o nospace
        return
    fi
    _filedir
} &&
    complete -F _leafmill_cli leafmill-cli

# ex: filetype=sh
