/* The grammar of a cell text. Bison's C skeleton, compiled as C++, builds the LALR(1) tables
   at build time; the lexer and the node bookkeeping are CFEParser's. */

%code top {
/* The state and value stacks start with room for 200 entries and double up to 10000; a
   deeper text is refused as a stack overflow. */
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
}

%code requires {
class CFEParser;
class EFuzzyTerm;
class ELingExpr;
class EZeroTerm;
}

%code {
#include "core/lang/CFEParser.h"
#include "core/lang/ELingExpr.h"

static int felex(FESTYPE* value, CFEParser& parser);
static void feerror(CFEParser& parser, const char* message);
}

%define api.pure full
%define api.prefix {fe}
%define api.token.prefix {TOKEN_}
%parse-param {CFEParser& parser}
%lex-param {CFEParser& parser}
%expect 0

%union {
    double number;
    int code;
    ELingExpr* node;
    EFuzzyTerm* fuzzyTerm;
    EZeroTerm* zeroTerm;
}

%token <code> OR 258 AND 259
%token <number> NUMBER 260
%token <code> ML 261 RO 262 QR 263 VR 264 EX 265 SI 266 VE 267 RA 268
%token <code> ABOUT 269 NOT 270 SM 271 BI 272 ME 273 USERTERM 274 UNDEF 275 IGNOR 276 ZE 277

%type <node> cell ling special fuzzyexpr term fuzzynumber userterm singleton
%type <fuzzyTerm> evalterm
%type <zeroTerm> zeroterm
%type <code> sign hedge mhedge zerohedge widen narrow

%left OR
%left AND

%%

input:
    cell { parser.Accept($1); }
    ;

cell:
    ling
  | singleton
    ;

ling:
    special { if (!parser.AllowLinguistic()) YYABORT; $$ = $1; }
  | fuzzyexpr { if (!parser.AllowLinguistic()) YYABORT; $$ = $1; }
    ;

special:
    UNDEF { $$ = parser.Make<EUndefExpr>(); }
  | IGNOR { $$ = parser.Make<EIgnorExpr>(); }
    ;

fuzzyexpr:
    term
  | fuzzyexpr OR fuzzyexpr { $$ = parser.Join($1, EBinaryExpr::kOr, $3); }
  | fuzzyexpr AND fuzzyexpr { $$ = parser.Join($1, EBinaryExpr::kAnd, $3); }
  | '(' fuzzyexpr ')' { $2->SetParenthesised(true); $$ = $2; }
    ;

term:
    evalterm { $$ = $1; }
  | sign evalterm { $2->SetSign($1); $$ = $2; }
  | zeroterm { $$ = $1; }
  | sign zeroterm { $2->SetSign($1); $$ = $2; }
  | fuzzynumber
  | userterm
    ;

zeroterm:
    zerohedge ZE { $$ = parser.Make<EZeroTerm>(parser.Owner(), $1); }
    ;

sign:
    '+' { $$ = 1; }
  | '-' { if (!parser.AllowSign()) YYABORT; $$ = -1; }
    ;

evalterm:
    hedge SM { $$ = parser.MakeEvalTerm($1, 0); }
  | hedge BI { $$ = parser.MakeEvalTerm($1, 2); }
  | mhedge ME { $$ = parser.MakeEvalTerm($1, 1); }
    ;

fuzzynumber:
    ABOUT NUMBER { $$ = parser.Make<EFuzzyNumber>(parser.Owner(), $2); }
    ;

userterm:
    USERTERM { $$ = parser.MakeUserTerm($1); }
    ;

/* "small" and "big" take every hedge, "medium" only the widening ones and "not", "zero" only
   "roughly" and "not". */
hedge:
    %empty { $$ = -1; }
  | widen { $$ = parser.CompleteHedge($1); }
  | narrow { $$ = parser.CompleteHedge($1); }
  | RA { $$ = parser.CompleteHedge($1); }
  | NOT { $$ = parser.CompleteHedge($1); }
    ;

mhedge:
    %empty { $$ = -1; }
  | widen
  | NOT
    ;

zerohedge:
    %empty { $$ = -1; }
  | NOT { $$ = parser.CompleteHedge($1); }
  | RO { $$ = parser.CompleteHedge($1); }
    ;

widen:
    ML
  | RO
  | QR
  | VR
    ;

narrow:
    EX
  | SI
  | VE
    ;

singleton:
    NUMBER { if (!parser.AllowSingleton()) YYABORT; $$ = parser.Make<ESingletonExpr>($1); }
    ;

%%

constexpr bool SameCode(int grammar, int lexer) {
    return grammar == lexer;
}

static_assert(SameCode(TOKEN_OR, CFEParser::kOr) &&
              SameCode(TOKEN_AND, CFEParser::kAnd) &&
              SameCode(TOKEN_NUMBER, CFEParser::kNumber) &&
              SameCode(TOKEN_ML, CFEParser::kMl) &&
              SameCode(TOKEN_RO, CFEParser::kRo) &&
              SameCode(TOKEN_QR, CFEParser::kQr) &&
              SameCode(TOKEN_VR, CFEParser::kVr) &&
              SameCode(TOKEN_EX, CFEParser::kEx) &&
              SameCode(TOKEN_SI, CFEParser::kSi) &&
              SameCode(TOKEN_VE, CFEParser::kVe) &&
              SameCode(TOKEN_RA, CFEParser::kRa) &&
              SameCode(TOKEN_ABOUT, CFEParser::kAbout) &&
              SameCode(TOKEN_NOT, CFEParser::kNot) &&
              SameCode(TOKEN_SM, CFEParser::kSm) &&
              SameCode(TOKEN_BI, CFEParser::kBi) &&
              SameCode(TOKEN_ME, CFEParser::kMe) &&
              SameCode(TOKEN_USERTERM, CFEParser::kUserTerm) &&
              SameCode(TOKEN_UNDEF, CFEParser::kUndef) &&
              SameCode(TOKEN_IGNOR, CFEParser::kIgnor) &&
              SameCode(TOKEN_ZE, CFEParser::kZe),
              "the grammar's token codes are the lexer's");

static int felex(FESTYPE* value, CFEParser& parser) {
    const int token = parser.NextToken();
    if (token == CFEParser::kNumber)
        value->number = parser.TokenNumber();
    else
        value->code = parser.TokenCode();
    return token;
}

/* RunParser reports errors from the parser's outcome, which tells a syntax error from an
   exhausted stack. */
static void feerror(CFEParser& /*parser*/, const char* /*message*/) {}
