#include "demo_words.h"

#include <QStringList>

namespace fenlark::dbtool::words {

namespace {

std::vector<QString> split(const char *utf8)
{
    const QStringList parts = QString::fromUtf8(utf8).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return std::vector<QString>(parts.begin(), parts.end());
}

} // namespace

const std::vector<QString> &surnames()
{
    // Includes surnames read otherwise as ordinary characters (单 shan, 曾 zeng, 长 chang)
    // and a few of two characters, so the initials search meets them.
    static const std::vector<QString> list =
        split("王 李 张 刘 陈 杨 黄 赵 吴 周 徐 孙 马 朱 胡 郭 何 高 林 罗 郑 梁 谢 宋 唐 许 韩 冯 邓 曹 "
              "彭 曾 肖 田 董 袁 潘 于 蒋 蔡 余 杜 叶 程 苏 魏 吕 丁 任 沈 姚 卢 姜 崔 钟 谭 陆 汪 范 金 "
              "石 廖 贾 夏 韦 付 方 白 邹 孟 熊 秦 邱 江 尹 薛 闫 段 雷 侯 龙 史 陶 黎 贺 顾 毛 郝 龚 邵 "
              "万 钱 严 覃 武 戴 莫 孔 向 汤 常 单 长 欧阳 诸葛 司马 上官");
    return list;
}

const std::vector<QString> &maleNameCharacters()
{
    static const std::vector<QString> list =
        split("伟 强 军 勇 杰 涛 明 超 刚 平 辉 鹏 华 飞 鑫 波 斌 宇 浩 凯 健 俊 帆 帅 旭 宁 龙 林 国 建 "
              "志 海 峰 磊 亮 东 文 武 德 福 贵 生 成 荣 新 春 山 金 宝 永 忠 祥 发 兴 胜 卫 红 民 庆 家 "
              "富 财 有 根 水 长 云 江 清 洪 立 义");
    return list;
}

const std::vector<QString> &femaleNameCharacters()
{
    static const std::vector<QString> list =
        split("芳 娜 敏 静 丽 艳 娟 霞 秀 燕 玲 桂 英 兰 梅 琴 萍 红 凤 莲 翠 珍 玉 花 春 月 琳 婷 雪 慧 "
              "洁 颖 倩 晶 欣 怡 佳 悦 菊 娥 香 彩 芬 荣 素 云 美 巧 秋 ");
    return list;
}

const std::vector<QString> &rareNameCharacters()
{
    static const std::vector<QString> list = split("喆 堃 昇 珺 玥 彧 赟 燊 旻");
    return list;
}

const std::vector<QString> &outsideGbkCharacters()
{
    static const std::vector<QString> list = split("䶮 𬀩 𫖯 𬌗 㛃 䴉");
    return list;
}

const std::vector<QString> &placeCharacters()
{
    static const std::vector<QString> list =
        split("石 桥 白 沙 青 山 河 口 东 西 南 北 新 田 坪 溪 坝 塘 岭 湾 林 家 庄 岗 冲 铺 寨 水 马 龙 "
              "凤 花 桃 李 黄 金 银 长 安 平 和 兴 丰 乐 福 太 阳 红 星 高 峰 竹 松 柏 梅 杨 柳 湖 江 汉 "
              "云 清 泉 源 阁 台 城 关 茶 莲 荷 枫 樟 岩 洞 滩 洲 堰 大 小 上 下 中 前 后");
    return list;
}

const std::vector<QString> &nations()
{
    static const std::vector<QString> list =
        split("汉族 壮族 满族 回族 苗族 维吾尔族 土家族 彝族 蒙古族 藏族 布依族 侗族 瑶族 朝鲜族 白族 哈尼族 "
              "哈萨克族 黎族 傣族 畲族 傈僳族 仡佬族 东乡族 高山族 拉祜族 水族 佤族 纳西族 羌族 土族 仫佬族 "
              "锡伯族 柯尔克孜族 达斡尔族 景颇族 毛南族 撒拉族 布朗族 塔吉克族 阿昌族 普米族 鄂温克族 怒族 京族 "
              "基诺族 德昂族 保安族 俄罗斯族 裕固族 乌孜别克族 门巴族 鄂伦春族 独龙族 塔塔尔族 赫哲族 珞巴族");
    return list;
}

const std::vector<QString> &educations()
{
    static const std::vector<QString> list = split("小学 初中 高中 大学 硕士 博士");
    return list;
}

const std::vector<QString> &banks()
{
    static const std::vector<QString> list =
        split("中国农村合作信用社 中国农行银行 中国邮政储蓄 中国建设银行 中国工商银行");
    return list;
}

const std::vector<QString> &businesses()
{
    static const std::vector<QString> list =
        split("生猪养殖 外出务工 水稻种植 山羊养殖 核桃种植大户 养蜂户 药材种植 个体经商 茶叶种植");
    return list;
}

const std::vector<QString> &offences()
{
    static const std::vector<QString> list = split("治安处罚 刑事处罚 吸贩毒");
    return list;
}

const std::vector<QString> &partyPosts()
{
    static const std::vector<QString> list = split("支部书记 副书记 村主任 村文书");
    return list;
}

const std::vector<QString> &keywords()
{
    static const std::vector<QString> list =
        split("种植 养殖 务工 经商 留守儿童 空巢老人 危房改造 易地搬迁 大病救助 教育资助");
    return list;
}

const std::vector<QString> &hardships()
{
    static const std::vector<QString> list =
        split("因病致贫 因学致贫 因残致贫 缺劳动力 缺技术 缺资金 交通条件落后 自身发展动力不足");
    return list;
}

} // namespace fenlark::dbtool::words
